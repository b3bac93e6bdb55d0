// One line of a table of contents: the title entry (depth 0) or a listed bookmark.
#pragma once

#include <cstdint>
#include <string>

#include "host/bookmark.h"

namespace bm {

struct TocEntry {
  std::u16string title;
  // The page the bookmark leads to, as the document was before the table of contents went
  // in; -1 for none (the line then has no leaders and no number).
  int32_t targetPage = -1;
  zelta::ComPtr<zelta::IHostBookmark> bookmark;  // null for the title entry
  int32_t depth = 0;                             // 0 the title, 1 the first listed level, and so on
  // What the entry's links do: the bookmark's actions, null when it has none.
  zelta::ComPtr<zelta::IHostActionList> actions;
};

}  // namespace bm
