// What the entries read from a table of contents become before they are bookmarked: lines
// that stand out from the left edge of their group join the entry below them, and each entry
// gets a level by its style (size, font, indent) and one by its indent alone.
#pragma once

#include <vector>

#include "toc/toc_line_entry.h"

namespace bm {

class TocEntryLevels {
 public:
  // Joins an entry without a page number to the next one when it stands outside the common
  // left edge of the group of consecutive entries with its target page and the next one is
  // set in the same font.
  static void Merge(std::vector<TocLineEntry>& entries);
  // Ranks by size (larger first), then by left edge (the even pages' moved as ByIndent moves
  // them): one font and size indented within half its size is one level.
  static void ByStyle(std::vector<TocLineEntry>& entries);
  // Ranks by left edge (within half the font size), with the entries of even TOC pages moved
  // to the left edge of the odd ones; deeper steps than one close up.
  static void ByIndent(std::vector<TocLineEntry>& entries);
  // Levels that skip one or more steps below the previous entry close up (1 3 3 2 4 gives
  // 1 2 2 2 3).
  static void CloseGaps(std::vector<int32_t>& levels);
};

}  // namespace bm
