// Page labels from the /PageLabels number tree: numbering styles D (decimal), R and r (roman),
// A and a (letters: A..Z, AA..ZZ, ...), prefix /P, first number /St.
#pragma once

#include <string>
#include <vector>

#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class PageLabels {
 public:
  // Numbers above this are written in decimal whatever the style, so that a hostile /St
  // cannot make a label of millions of letters.
  static constexpr int64_t kMaxStyledNumber = 100000;

  // The label of page (0-based); the decimal page number when the document has no labels
  // or no range covers the page.
  std::u16string Label(MuCalls& mu, int page, std::vector<std::string>* warnings);
  void Invalidate() { built_ = false; }

  // A /PageLabels tree for the document once `count` pages are inserted at `position`: every
  // page keeps its label, and the inserted pages continue the range before them (or are
  // numbered in lower-case roman when they come first). Null (*shifted empty) when the
  // document has no labels.
  static HRESULT ShiftedTree(MuCalls& mu, int position, int count,
                             std::vector<std::string>* warnings, MuObject* shifted);

  // The number written in a style ('D', 'R', 'r', 'A', 'a'; 0 for none).
  static std::u16string FormatNumber(int64_t number, char style);

 private:
  struct Range {
    int start = 0;
    char style = 0;
    std::u16string prefix;
    int64_t first = 1;
  };
  void Build(MuCalls& mu, std::vector<std::string>* warnings);

  bool built_ = false;
  std::vector<Range> ranges_;  // sorted by start page
};

}  // namespace zelta::pdf
