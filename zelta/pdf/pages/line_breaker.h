// Breaking a run of characters into lines of a width: at spaces, and before and after CJK
// characters; a word wider than the line breaks between characters, so that every line
// holds at least one character and the breaking always ends.
#pragma once

#include <cstddef>
#include <vector>

namespace zelta::pdf {

struct BreakItem {
  enum Kind { kOther, kSpace, kCjk };
  double advance = 0;
  Kind kind = kOther;
};

struct BrokenLine {
  size_t begin = 0, end = 0;  // items [begin, end); trailing spaces included
  double width = 0;           // without the trailing spaces
};

class LineBreaker {
 public:
  // Lines of at most `width` (a single character wider than that gets a line of its own).
  // No items give no lines.
  static std::vector<BrokenLine> Break(const std::vector<BreakItem>& items, double width);
  // The one line that begins at item `start` (< items.size()).
  static BrokenLine NextLine(const std::vector<BreakItem>& items, size_t start, double width);

  // Whether a character is one that lines may break before and after (ideographs, kana,
  // hangul and their punctuation).
  static bool IsCjk(int unicode);
};

}  // namespace zelta::pdf
