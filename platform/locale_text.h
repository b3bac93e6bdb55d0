// Locale text services of the plug-in: collation, case mapping, character classes, substring
// search and UTF conversion, built on ICU instead of the host platform's text functions.
// All text is UTF-16; lengths and indexes are in code units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bm::platform {

// Collation under the process locale, taken from the environment (LC_ALL, then LC_COLLATE,
// then LANG; "C", "POSIX" or unset mean the root collation). Returns <0, 0 or >0.
// ignoreCase compares at secondary strength: case differs nothing, accents still do.
int CompareText(std::u16string_view a, std::u16string_view b, bool ignoreCase);

// Simple (1:1) case mapping in place. Each code unit, and each surrogate pair as one code
// point, maps to its simple upper or lower case; the length never changes (a mapping that
// would change the UTF-16 length keeps the original). Lone surrogates stay as they are.
// Returns the number of code units processed: the length for any input (0 for null text).
size_t UpperCaseInPlace(char16_t* text, size_t length);
size_t LowerCaseInPlace(char16_t* text, size_t length);

// Character classes of one UTF-16 code unit (a surrogate is none of them).
bool IsAlpha(char16_t c);
bool IsAlphaNumeric(char16_t c);
bool IsUpper(char16_t c);
bool IsLower(char16_t c);

// Case-insensitive search for `what` in `text` from index `from`, under locale-independent
// simple case folding. Returns the index of the first match or npos. An empty `what` is
// found at `from` when from <= text.size(). A match never starts inside a surrogate pair.
size_t FindIgnoreCase(std::u16string_view text, std::u16string_view what, size_t from = 0);

// UTF-8 <-> UTF-16. Each invalid UTF-8 sequence (by maximal subpart) and each lone
// surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace bm::platform
