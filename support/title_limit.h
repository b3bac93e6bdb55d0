// The longest bookmark title the tools make, in UTF-16 code units.
#pragma once

#include <cstddef>
#include <string>

#include "host/limits.h"

namespace bm {

// 32,767 is the longest string PDF readers have historically been built to accept, and a
// title of that length is already far beyond what a bookmarks panel shows; past it, readers
// slow down or truncate. Bounding titles here also bounds the work and memory of options that
// make titles grow (a long replacement for a frequent word, a huge prefix).
inline constexpr size_t kMaxTitleLength = zelta::kMaxBookmarkTitle;

// "the title "<excerpt>" would grow to more than 32767 characters (the longest title allowed)".
std::u16string TitleTooLongText(std::u16string_view original);

// "the title "<excerpt>" has more than 32767 characters (the longest title allowed)", for a
// title read from a file; the host's imports word it the same.
std::u16string TitleOverLimitText(std::u16string_view title);

}  // namespace bm
