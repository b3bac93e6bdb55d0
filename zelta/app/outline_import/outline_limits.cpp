#include "zelta/app/outline_import/outline_limits.h"

#include <charconv>
#include <cmath>

#include "host/limits.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

namespace {

// The shortest text that reads back as the value: 1.7e+308, -1, 0.5; a bound without an
// exponent (100000).
std::string NumberText(double value, bool fixed = false) {
  char text[400];
  const auto [end, ec] =
      fixed ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
            : std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : "?";
}

}  // namespace

std::string TitleTooLongText(std::u16string_view title) {
  constexpr size_t kExcerpt = 40;
  std::string excerpt = base::LossyUtf8(title.substr(0, kExcerpt));
  if (title.size() > kExcerpt) excerpt += "...";
  return "the title \"" + excerpt + "\" has more than " + std::to_string(kMaxBookmarkTitle) +
         " characters (the longest title allowed)";
}

std::string TooManyBookmarksText(size_t count) {
  return "the outline holds " + std::to_string(count) + " bookmarks, more than the " +
         std::to_string(kMaxImportedBookmarks) + " an import takes";
}

std::string TooDeepText() {
  return "the outline nests deeper than " + std::to_string(kMaxBookmarkDepth) +
         " levels (the deepest outline allowed)";
}

std::string DestinationValueText(int32_t fitType, int index, double value, std::string_view name) {
  const std::string shown = std::isfinite(value) ? NumberText(value) : "not finite";
  const bool zoom = fitType == kFitXYZ && index == 2;
  const std::string range = zoom ? "a zoom is 0 to " + NumberText(kMaxDestinationZoom, true)
                                 : "a coordinate is -" +
                                       NumberText(kMaxDestinationCoordinate, true) + " to " +
                                       NumberText(kMaxDestinationCoordinate, true);
  return std::string(name) + " " + shown + " is out of range (" + range + ")";
}

}  // namespace zelta::app
