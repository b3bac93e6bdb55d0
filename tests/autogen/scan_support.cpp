#include "tests/autogen/scan_support.h"

namespace bm::testing {

std::vector<zelta::PageTextChar> MakePage(const std::vector<TextLine>& lines) {
  std::vector<zelta::PageTextChar> chars;
  for (size_t l = 0; l < lines.size(); ++l) {
    const double top = 760 - 20.0 * static_cast<double>(l);
    double x = 72;
    const size_t lineStart = chars.size();
    for (const TextRun& run : lines[l]) {
      for (size_t i = 0; i < run.text.size(); ++i) {
        zelta::PageTextChar ch{};
        ch.left = x;
        ch.right = x + 6;
        ch.top = top;
        ch.bottom = top - run.size;
        ch.flags = i == 0 ? zelta::kCharRunStart : 0;
        ch.line = static_cast<int32_t>(l);
        ch.fontId = run.font;
        ch.color = run.color;
        ch.size = run.size;
        ch.code = run.text[i];
        chars.push_back(ch);
        x += 6;
      }
    }
    if (chars.size() > lineStart) chars.back().flags |= zelta::kCharLineEnd;
  }
  if (!chars.empty()) chars.back().flags |= zelta::kCharBlockEnd;
  return chars;
}

LevelOptions SizeLevel(int32_t index, double size, std::vector<std::u16string> fonts) {
  LevelOptions level;
  level.index = index;
  level.flags = kLevelMatchSize;
  level.description.fontSize = size;
  if (!fonts.empty()) {
    level.flags |= kLevelMatchFontNames;
    level.description.fontNames = std::move(fonts);
  }
  return level;
}

}  // namespace bm::testing
