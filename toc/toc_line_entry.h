// One entry of a printed table of contents as it was read from the selected text: its title
// text, where it stands on its page, its style, and the page its printed number means.
#pragma once

#include <string>
#include <vector>

#include "host/document.h"

namespace bm {

// Where one line of an entry stands: an entry that goes on past the foot of a contents page
// has lines on two pages.
struct TocLineArea {
  int32_t page = 0;  // zero-based
  zelta::PageBox box;
};

struct TocLineEntry {
  std::vector<std::u16string> pieces;  // the title text of each of its lines, in order
  std::vector<TocLineArea> areas;      // each line's box on its page
  uint32_t font = 0;                   // the first line's font, size and left edge
  float size = 0;
  double x = 0;
  double lastLineX = -1;  // the left edge of its last line; -1 for one line
  int32_t target = 0;     // zero-based page the entry leads to
  int32_t tocPage = 0;    // zero-based page its first line stands on
  bool numbered = false;  // it ended in a printed page number
  int32_t styleLevel = 1;
  int32_t indentLevel = 1;
};

}  // namespace bm
