#include "toc/toc_level_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/cab_access.h"
#include "framework/color_text.h"
#include "framework/host_strings.h"

namespace bm {
namespace {

constexpr double kMaxSize = 1000;

std::u16string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return std::u16string(text, text + std::strlen(text));
}

}  // namespace

std::vector<TocLevelFormat> ReadLevelFormats(zelta::ICabItem* levels, zelta::IColorService* colors,
                                             std::u16string* error) {
  std::vector<TocLevelFormat> formats;
  int32_t count = 0;
  if (levels) levels->GetCount(&count);
  if (count > 0 && !colors) {
    *error = u"no colour service to read the colours with";
    return {};
  }
  for (int32_t i = 0; i < count; ++i) {
    zelta::ComPtr<zelta::ICabItem> level;
    levels->GetItemAt(i, level.Put());
    TocLevelFormat format;
    const std::u16string where = u"Levels[" + NumberText(static_cast<uint64_t>(i)) + u"].";
    format.index = CabInt(level.Get(), u"Index", 0);
    format.fontName = CabText(level.Get(), u"Name", u"Arial");
    format.size = CabDouble(level.Get(), u"Size", 10.0);
    format.underline = CabInt(level.Get(), u"Underline", 0);
    format.strikeOut = CabInt(level.Get(), u"StrikeOut", 0);
    format.strokeWidth = CabDouble(level.Get(), u"StrokeWidth", 0);
    format.indent = CabDouble(level.Get(), u"Indent", 0);
    if (!std::isfinite(format.size) || format.size <= 0 || format.size > kMaxSize) {
      *error = where + u"Size " + Number(format.size) + u" is not a font size (0 to 1000 points)";
      return {};
    }
    if (!std::isfinite(format.indent)) {
      *error = where + u"Indent is not a number";
      return {};
    }
    if (format.fontName.empty()) format.fontName = u"Arial";
    const std::u16string fill = CabText(level.Get(), u"FColor", u"rgbd(0,0,0)");
    const std::u16string stroke = CabText(level.Get(), u"SColor", u"rgbd(0,0,0)");
    auto parsedFill = ParseColorText(colors, fill);
    auto parsedStroke = ParseColorText(colors, stroke);
    if (!parsedFill || !parsedStroke) {
      *error = where + (parsedFill ? u"SColor \"" + stroke : u"FColor \"" + fill) +
               u"\" is not a colour";
      return {};
    }
    format.fill = parsedFill->packed;
    format.hasFill = !parsedFill->none;
    format.stroke = parsedStroke->packed;
    // An opaque colour reads as negative: such a stroke colour means no stroke.
    format.hasStroke = !parsedStroke->none && static_cast<int32_t>(parsedStroke->packed) >= 0;
    formats.push_back(std::move(format));
  }
  return formats;
}

}  // namespace bm
