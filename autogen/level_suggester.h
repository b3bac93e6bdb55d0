// Proposes generation options from a document's typography: the body style, the styles that
// stand out from it as headings (size, weight, colour, whole short lines, numbering), ordered
// by prominence into levels, and the pages worth scanning. Running headers and footers,
// printed contents and index pages and the front matter before the first heading are left
// out, and every decision is written down for the user.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "autogen/heading_evidence.h"
#include "autogen/level_node.h"
#include "autogen/typography_survey.h"

namespace bm {

// What the suggester learns of a font.
class FontFacts {
 public:
  // The font's name and whether it is bold; false when the font cannot be had.
  virtual bool Describe(uint32_t fontId, std::u16string* name, bool* bold) = 0;

 protected:
  ~FontFacts() = default;
};

struct SuggestedOptions {
  std::vector<LevelOptions> levels;  // empty: the document shows no headings
  std::u16string pages;              // PagesRange text (1-based); empty for every page
  int32_t flags = 0;                 // AGBOptions "Flags"
  // Stop words (regular expressions, whole titles) for labels that recur in a heading style.
  std::vector<std::u16string> stopWords;
  std::u16string explanation;  // one finding per line
  // From 0 to 1: how surely the levels are the document's headings.
  double confidence = 0;
  // Why the levels should not be used unattended, in one line; empty when they may.
  std::u16string doubt;
  // What a run with the levels makes that a user should know of (untitled bookmarks).
  std::u16string warning;
};

class LevelSuggester {
 public:
  // At most this many levels are proposed.
  static constexpr size_t kMaxLevels = 6;
  // A level less sure than this is left out; a suggestion less sure than kSure, or one that
  // would make more than kMostPerPage bookmarks a page, is one to check before use.
  static constexpr double kWeakLevel = 0.55;
  static constexpr double kSure = 0.65;
  static constexpr double kMostPerPage = 4.0;
  // Headings that skip a level, as a share of all: beyond it the levels do not nest.
  static constexpr double kMostUntitled = 0.1;

  LevelSuggester(const TypographySurvey& survey, FontFacts& fonts);
  ~LevelSuggester();

  SuggestedOptions Suggest();

 private:
  struct StyleUse;
  struct Level;

  void ClassifyPages();
  void FindRunningLines();
  void CountStyles();
  void ChooseLevels();
  void AddRunInLevel();
  void KeepNumberedOnly();
  static std::vector<int> DepthsOfLevels(const std::map<int, uint32_t>& depths, uint32_t numbered);
  void SplitByDepth(size_t l, const std::vector<int>& split, const std::map<int, uint32_t>& depths);
  void DropLevelsThatDoNotNest(std::vector<std::u16string>& drop) const;
  void SkipSingleCharacters();
  void MarkSmallerRuns();
  void WeighLevels(SuggestedOptions& out);
  void DropUnlistedLevels(const std::vector<std::vector<size_t>>& members,
                          std::vector<std::u16string>& drop) const;
  void JudgeWhole(const std::vector<bool>& considered, SuggestedOptions& out);
  void FindRecurringLabels();
  void SkipRecurringLabels(SuggestedOptions& out);
  bool IsLabel(const SurveyLine& line) const;
  std::u16string LeadingTitle(const SurveyLine& line) const;
  bool RunningInHeadingStyle(size_t line) const;
  // How many untitled bookmarks generation makes above headings that skip a level.
  uint32_t Untitled() const;
  // The level of a heading line, or -1; a recurring label has none unless `labels`.
  int32_t LevelOf(size_t line, bool labels = false) const;
  void ChoosePages(SuggestedOptions& out);

  bool Considered(size_t line) const;
  bool Bold(uint32_t style);
  // An upright face of another family than the body's (a sans heading in a serif text).
  bool OtherFace(uint32_t style);
  bool StandsOutByFaceOnly(uint32_t style);
  std::u16string FontName(uint32_t style);
  bool ColourTellsApart(size_t level);
  std::u16string StyleText(uint32_t style);
  void Note(std::u16string text) { notes_ += text + u"\n"; }

  const TypographySurvey& survey_;
  FontFacts& fonts_;
  std::vector<int8_t> pageKind_;  // by page: 0 text, 1 contents, 2 index
  std::vector<bool> running_;     // by line
  std::vector<StyleUse> uses_;    // by style
  std::vector<Level> levels_;
  std::set<std::u16string> labels_;  // texts of recurring labels in heading styles
  int64_t body_ = -1;
  std::u16string notes_;
};

}  // namespace bm
