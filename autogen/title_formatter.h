// Writes an accepted title by its level's formatting: search and replace, blank collapsing,
// added or removed leading numbers, text case, prefix and suffix, and the length limit, in
// that order, each step on the result of the one before.
#pragma once

#include <string>

#include "autogen/level_chain.h"
#include "host/com.h"

namespace bm {

// AGBTitleFormat "TextCase".
inline constexpr int32_t kCaseKeep = 0;
inline constexpr int32_t kCaseSentence = 1;
inline constexpr int32_t kCaseUpper = 2;
inline constexpr int32_t kCaseLower = 3;
inline constexpr int32_t kCaseTitle = 4;

// AGBTitleFormat "LeadingNum": 0 keep, 1 add; any other value removes them.
inline constexpr int32_t kLeadingKeep = 0;
inline constexpr int32_t kLeadingAdd = 1;

// Formats title as a title of the level at chain position `position` (the chain must be
// prepared). Adding numbers advances that level's counter and restarts the deeper ones.
// S_OK when the title is usable, S_FALSE when it must be dropped (empty, or a step failed on
// it), E_OUTOFMEMORY when memory runs out, kTitleTooLong when the formatted title would pass
// kMaxTitleLength, E_FAIL when the search pattern could not be applied within the matcher's
// bounds.
inline constexpr zelta::HRESULT kTitleTooLong = zelta::E_INVALIDARG;
zelta::HRESULT FormatTitle(LevelChain& chain, size_t position, std::u16string& title);

// Whether c is a blank: space, tab, carriage return or line feed.
inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Each run of blanks becomes one space (nothing is trimmed).
std::u16string CollapseBlanks(std::u16string_view text);
// Removes the leading run of blanks, digits and ASCII punctuation other than the double quote.
std::u16string RemoveLeadingNumbers(std::u16string_view text);

}  // namespace bm
