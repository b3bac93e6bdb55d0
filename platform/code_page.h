// The platform's "ANSI code page" for text files that carry no signature: the character set
// of the process locale (LC_ALL, then LC_CTYPE, then LANG), with the C/POSIX locale counted
// as UTF-8; ZELTA_ANSI_CODEPAGE names any ICU converter instead ("windows-1252").
#pragma once

#include <string>
#include <string_view>

namespace bm::platform {

// The converter name of the ANSI code page ("UTF-8", "ISO-8859-1", "windows-1252").
std::string AnsiCodePageName();

// Whether a converter name means UTF-8 ("UTF-8", "utf8"; ICU's alias rules).
bool IsUtf8CodePage(std::string_view name);

// Decodes bytes in the named code page; unmappable bytes become U+FFFD. False when ICU has no
// converter of that name (then *error says so and *out is untouched).
bool DecodeCodePage(std::string_view name, std::string_view bytes, std::u16string* out,
                    std::string* error);

}  // namespace bm::platform
