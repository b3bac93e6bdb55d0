// The messages of the limits every imported outline keeps to (host/bookmark.h, host/action.h),
// worded as the module's text-file import words them, so that each format says the same.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelta::app {

// "the title "<excerpt>..." has more than 32767 characters (the longest title allowed)".
std::string TitleTooLongText(std::u16string_view title);

// "the outline holds <count> bookmarks, more than the 1000000 an import takes".
std::string TooManyBookmarksText(size_t count);

// "the outline nests deeper than 100000 levels (the deepest outline allowed)".
std::string TooDeepText();

// "<name> <value> is out of range (<range>)" for a destination value that
// DestinationValueInRange refuses; `index` is 0-3, `name` the value's name in the format.
std::string DestinationValueText(int32_t fitType, int index, double value, std::string_view name);

}  // namespace zelta::app
