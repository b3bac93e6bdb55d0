// One pass over the text of a document's pages that keeps what choosing generation levels
// needs: the text styles in use (font, size, colour) and, for every line, its place, its
// text and how many characters of each style it holds. Decisions are left to the reader.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/page_text.h"

namespace bm {

struct SurveyStyle {
  uint32_t fontId = 0;
  int32_t size10 = 0;  // size in tenths of a point
  uint32_t color = 0;  // 0xAARRGGBB
  // The widest narrow letter (i, l) and the narrowest wide one (m, w) seen: equal in a
  // monospaced font (code), far apart in a proportional one (running text).
  float narrow = 0, wide = 1e9f;

  double Size() const { return size10 / 10.0; }
  bool Monospaced() const { return narrow > 0 && wide < 1e9f && narrow >= 0.85f * wide; }
};

struct SurveyLine {
  int32_t page = 0;                    // zero-based
  float top = 0, left = 0, right = 0;  // right: the end of its last character
  uint32_t length = 0;                 // code units of the whole line
  std::u16string text;                 // its first kKeptText code units
  // Consecutive pieces of one style: style index and the count of non-blank characters.
  std::vector<std::pair<uint32_t, uint32_t>> runs;

  // The style of the first non-blank character (-1 for a blank line).
  int64_t FirstStyle() const { return runs.empty() ? -1 : runs.front().first; }
};

class TypographySurvey {
 public:
  // Longer lines keep only this much of their text: no heading is that long.
  static constexpr size_t kKeptText = 160;

  // Adds the text of page `page` (zero-based); pages may come in any order, each once.
  void AddPage(int32_t page, const zelta::PageTextChar* chars, int32_t count);

  const std::vector<SurveyStyle>& Styles() const { return styles_; }
  const std::vector<SurveyLine>& Lines() const { return lines_; }
  // The number of pages added.
  int32_t PageCount() const { return pages_; }

 private:
  uint32_t StyleOf(const zelta::PageTextChar& ch);
  // Puts each section number read as a line of its own back with its title (lines from
  // `from` on, one page).
  void JoinNumbers(size_t from);

  std::vector<SurveyStyle> styles_;
  struct Key {
    uint32_t fontId;
    int32_t size10;
    uint32_t color;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      return std::hash<uint64_t>()((uint64_t{k.fontId} << 32 | static_cast<uint32_t>(k.size10)) ^
                                   (uint64_t{k.color} * 0x9E3779B97F4A7C15ull));
    }
  };
  std::unordered_map<Key, uint32_t, KeyHash> styleIndex_;
  std::vector<SurveyLine> lines_;
  int32_t pages_ = 0;
};

}  // namespace bm
