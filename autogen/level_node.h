// One generation level: the text style and content that mark its headings (description),
// how its bookmarks look (appearance) and how their titles are written (formatting), plus
// the per-run state the scan keeps on it (fallback, numbering counter, font verdicts).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "autogen/text_regex.h"
#include "host/action.h"

namespace bm {

// AGBLevel "Flags".
inline constexpr int32_t kLevelMatchSize = 0x1;
inline constexpr int32_t kLevelMatchColor = 0x2;
inline constexpr int32_t kLevelMatchFontNames = 0x4;
inline constexpr int32_t kLevelMatchPattern = 0x8;
inline constexpr int32_t kLevelMultiline = 0x100;
inline constexpr int32_t kLevelPatternCase = 0x400;
inline constexpr int32_t kLevelLimitToPattern = 0x800;
// A run on the title's line that matches no level, is no larger than the level's size and is
// followed on that line by a run of the level continues the title instead of ending it: the
// superscript of a formula, an acronym set a size smaller, small capitals.
inline constexpr int32_t kLevelJoinSmallerRuns = 0x1000;
// A run of symbols only (no letter or digit) that matches no level and is followed on the
// title's line by a run of the level continues the title, whatever its size: a "<" or "~"
// that the typesetter took from a math font ("operator<()").
inline constexpr int32_t kLevelJoinSymbolRuns = 0x2000;

// AGBTitleFormat "Flags".
inline constexpr int32_t kFormatPrefix = 0x1;
inline constexpr int32_t kFormatSuffix = 0x2;
inline constexpr int32_t kFormatCollapseBlanks = 0x4;
inline constexpr int32_t kFormatReplace = 0x8;
inline constexpr int32_t kFormatReplaceCase = 0x10;

inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;

struct LevelDescription {
  std::vector<std::u16string> fontNames;  // sorted case-insensitively
  double fontSize = 12.0;                 // points
  double fontTolerance = 0.2;             // points, both ways
  uint32_t color = kOpaqueBlack;          // 0xAARRGGBB
  int32_t matchTextCase = 0;              // 0 any, 1 all capitals, 2 first capital, 3 first digit
  std::u16string textPattern;
};

struct LevelAppearance {
  uint32_t color = kOpaqueBlack;
  bool hasColor = true;  // false for the colour text "N"
  int32_t style = 0;     // bookmark style bits
  bool expand = false;
  int32_t destType = zelta::kFitXYZ;
  uint32_t destFlags = 12;  // absent-value mask of the destination
};

struct TitleFormat {
  int32_t textCase = 0;
  std::u16string prefix, suffix;
  std::u16string searchPattern, replacePattern;
  int32_t leadingNum = 0;
  int32_t numType = 0;
  int32_t titleLength = 256;
  int32_t flags = 0;
};

// The options of one AGBLevel.
struct LevelOptions {
  int32_t index = 0;  // depth in the bookmark tree, 1 for top level; the chain root has -1
  int32_t flags = 0;
  LevelDescription description;
  LevelAppearance appearance;
  TitleFormat format;

  bool Uses(int32_t bit) const { return (flags & bit) != 0; }
};

struct LevelNode {
  LevelOptions options;

  // Set by LevelChain::Prepare.
  int fallback = -1;  // chain position of the fallback level, -1 for none
  TextRegex pattern;  // "TextPattern", compiled when the level uses it
  TextRegex search;   // "SearchPattern", compiled when the formatting uses it

  // Per-run state.
  uint32_t counter = 0;                 // numbering of added leading numbers
  std::vector<uint32_t> matchingFonts;  // sorted host font ids known to match FontNames
  std::vector<uint32_t> otherFonts;     // sorted host font ids known not to
};

// Sorts font names case-insensitively under the locale and keeps each name once.
void SortFontNames(std::vector<std::u16string>& names);
// Binary search in a list sorted by SortFontNames.
bool ContainsFontName(const std::vector<std::u16string>& names, std::u16string_view name);

}  // namespace bm
