// The appearance of one level of a table of contents, read from a "ToTOCLevel" dictionary:
// font name and size, colours and indent. Underline, strike-out and stroke width travel with
// the format but are not drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/color_text.h"
#include "host/cab.h"
#include "host/page_content.h"

namespace bm {

struct TocLevelFormat {
  int32_t index = 0;
  std::u16string fontName = u"Arial";
  double size = 10.0;
  int32_t underline = 0;
  int32_t strikeOut = 0;
  double strokeWidth = 0;
  uint32_t fill = 0xFF000000u;
  bool hasFill = true;
  uint32_t stroke = 0xFF000000u;
  bool hasStroke = false;
  double indent = 0;
  zelta::ComPtr<zelta::IHostWriterFont> font;  // resolved once per run
};

// The formats of a "Levels" array in array order, colours read by the host's colour service.
// A level whose values cannot be drawn (a size outside (0, 1000], an indent that is not a
// number, a colour that does not parse) gives *error naming it, and no formats.
std::vector<TocLevelFormat> ReadLevelFormats(zelta::ICabItem* levels, zelta::IColorService* colors,
                                             std::u16string* error);

}  // namespace bm
