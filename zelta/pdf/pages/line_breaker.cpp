#include "zelta/pdf/pages/line_breaker.h"

namespace zelta::pdf {
namespace {

// Text that reaches the edge by rounding still fits.
constexpr double kTolerance = 1e-3;

}  // namespace

bool LineBreaker::IsCjk(int u) {
  return (u >= 0x2E80 && u <= 0x9FFF) ||  // radicals, punctuation, kana, ideographs
         (u >= 0xAC00 && u <= 0xD7AF) ||  // hangul syllables
         (u >= 0xF900 && u <= 0xFAFF) ||  // compatibility ideographs
         (u >= 0xFF00 && u <= 0xFF60) ||  // full-width forms
         (u >= 0x20000 && u <= 0x3FFFF);  // supplementary ideographs
}

std::vector<BrokenLine> LineBreaker::Break(const std::vector<BreakItem>& items, double width) {
  std::vector<BrokenLine> lines;
  for (size_t start = 0; start < items.size(); start = lines.back().end)
    lines.push_back(NextLine(items, start, width));
  return lines;
}

BrokenLine LineBreaker::NextLine(const std::vector<BreakItem>& items, size_t start, double width) {
  const size_t n = items.size();
  double sum = 0;       // width of [start, j)
  double trailing = 0;  // of the spaces at its end
  size_t breakAt = start;
  double widthAtBreak = 0;
  size_t j = start;
  for (; j < n; ++j) {
    const BreakItem& item = items[j];
    if (item.kind == BreakItem::kSpace) {
      sum += item.advance;
      trailing += item.advance;
      breakAt = j + 1;
      widthAtBreak = sum - trailing;
      continue;
    }
    if (item.kind == BreakItem::kCjk && j > start && trailing == 0) {
      breakAt = j;
      widthAtBreak = sum;
    }
    if (j > start && sum + item.advance > width + kTolerance) break;
    sum += item.advance;
    trailing = 0;
    if (item.kind == BreakItem::kCjk) {
      breakAt = j + 1;
      widthAtBreak = sum;
    }
  }
  BrokenLine line;
  line.begin = start;
  if (j == n) {
    line.end = n;
    line.width = sum - trailing;
  } else if (breakAt > start) {
    line.end = breakAt;
    line.width = widthAtBreak;
  } else {
    line.end = j;  // one word wider than the line: broken where it overflows
    line.width = sum;
  }
  return line;
}

}  // namespace zelta::pdf
