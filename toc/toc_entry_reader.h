// Reads table-of-contents entries from the characters of a text selection: each line is split
// into its title and its printed page number (after the last leader), the number is resolved
// through the page labels or as a printed page number moved by the page offset, and lines
// without a number continue the entry onto the next line set in the same font.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/page_text.h"
#include "toc/toc_line_entry.h"

namespace bm {

struct TocReadOptions {
  int32_t separator = 0;  // 0 any leader, 1 dots, 2 underscores, 4 spaces only
  int32_t pageOffset = 0;
  double topIndent = 0, bottomIndent = 0;
  int32_t pageCount = 0;
};

class TocEntryReader {
 public:
  // labels: page label to zero-based page (the first page that carries it).
  TocEntryReader(const TocReadOptions& options, std::map<std::u16string, int32_t> labels)
      : options_(options), labels_(std::move(labels)) {}

  // Reads the selected ranges of one page; `page` is its box (the bands are measured from its
  // top and bottom). An entry still waiting for its number goes on onto the next page read.
  void ReadPage(int32_t page, const zelta::PageBox& box, const zelta::PageTextChar* chars,
                int32_t count, const std::vector<std::pair<int32_t, int32_t>>& ranges);
  // Completes the entry still open after the last page and drops what is no entry: the
  // contents' own heading and running heads and feet.
  void Finish();

  std::vector<TocLineEntry>& Entries() { return entries_; }
  // Entries whose printed number leads to no page of the document: past its end, before its
  // start, or a roman number without page labels (they go to their TOC page).
  int32_t OutsideCount() const { return outside_; }

  bool IsLeader(char16_t c) const;

 private:
  struct Line {
    std::u16string text;
    zelta::PageBox area;
    uint32_t font = 0;
    float size = 0;
  };
  // The page a printed number means; -1 when it is no number, -2 when it is one that leads
  // outside the document.
  int32_t Resolve(const std::u16string& number) const;
  // The pieces of one page joined into contents lines, in reading order.
  std::vector<Line> JoinRows(std::vector<Line> pieces) const;
  void EndLine(Line& line);
  void Complete();
  void DropFurniture();

  TocReadOptions options_;
  std::map<std::u16string, int32_t> labels_;
  std::vector<TocLineEntry> entries_;
  TocLineEntry current_;
  bool open_ = false;         // current_ holds lines of an entry still waiting for its number
  bool looseNumber_ = false;  // the open entry began with a number alone on its line
  Line previous_;             // the last line of the open entry
  int32_t page_ = 0;
  zelta::PageBox box_;
  int32_t outside_ = 0;
};

}  // namespace bm
