// Walking the outline: depth first, each bookmark before its children, children in document
// order (first child, then the next-sibling links). The walk keeps its own stack, so depth is
// bounded only by memory, and it visits each bookmark once: a bookmark met a second time (a
// damaged outline that loops) ends its sibling chain.
#pragma once

#include <cstdint>
#include <functional>

#include "host/bookmark.h"

namespace bm {

// Called with a bookmark and its level (the outline root is level 0). S_OK goes on into the
// bookmark's children, S_FALSE skips them, a failure ends the walk and is returned.
using BookmarkVisitor =
    std::function<zelta::HRESULT(zelta::IHostBookmark* bookmark, int32_t level)>;

// Walks the subtree of top, which is at level topLevel. With includeTop the walk starts at top
// itself (and never leaves to its siblings); otherwise it covers top's descendants only.
// E_POINTER for a null top.
zelta::HRESULT WalkBookmarks(zelta::IHostBookmark* top, int32_t topLevel, bool includeTop,
                             const BookmarkVisitor& visit);

// The number of bookmarks below `bookmark` (at level `level`) that a run visits: with a
// negative start level all of them; with subLevels those of startLevel and deeper; without,
// only those of exactly startLevel.
uint32_t CountBookmarks(zelta::IHostBookmark* bookmark, int32_t startLevel, int32_t level,
                        bool subLevels);

}  // namespace bm
