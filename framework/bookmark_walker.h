// Walking the outline: depth first, each bookmark before its children, children in document
// order (first child, then the next-sibling links). The walk keeps its own stack, so depth is
// bounded only by memory, and it visits each bookmark once: a bookmark met a second time (a
// damaged outline that loops) ends its sibling chain.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "host/bookmark.h"

namespace bm {

// Called with a bookmark and its level (the outline root is level 0). S_OK goes on into the
// bookmark's children, S_FALSE skips them, a failure ends the walk and is returned.
using BookmarkVisitor =
    std::function<zelta::HRESULT(zelta::IHostBookmark* bookmark, int32_t level)>;

namespace walk {

// The bookmarks met so far, by address: open addressing in one array, so that a walk of many
// bookmarks allocates only when the table doubles.
class SeenBookmarks {
 public:
  // False when the bookmark was met before.
  bool Insert(const zelta::IHostBookmark* bookmark);

 private:
  void Grow();
  std::vector<uintptr_t> slots_;
  size_t size_ = 0;
};

zelta::ComPtr<zelta::IHostBookmark> FirstChild(zelta::IHostBookmark* bookmark);
zelta::ComPtr<zelta::IHostBookmark> NextSibling(zelta::IHostBookmark* bookmark);

// The walk for any visitor callable as visit(IHostBookmark*, int32_t) -> HRESULT; called
// directly, without a std::function per bookmark.
template <typename Visit>
zelta::HRESULT Walk(zelta::IHostBookmark* top, int32_t topLevel, bool includeTop, Visit& visit) {
  if (!top) return zelta::E_POINTER;
  zelta::ComPtr<zelta::IHostBookmark> start =
      includeTop ? zelta::ComPtr<zelta::IHostBookmark>(top) : FirstChild(top);
  if (!start) return zelta::S_OK;
  const int32_t baseLevel = includeTop ? topLevel : topLevel + 1;

  // path[i] is the bookmark being walked at depth i below the start.
  std::vector<zelta::ComPtr<zelta::IHostBookmark>> path{start};
  // Visited bookmarks, kept alive so that their addresses stay unique during the walk.
  std::vector<zelta::ComPtr<zelta::IHostBookmark>> visited;
  SeenBookmarks seen;
  while (!path.empty()) {
    zelta::IHostBookmark* node = path.back().Get();
    if (!seen.Insert(node)) {
      // A loop: this sibling chain ends here.
      path.pop_back();
    } else {
      visited.push_back(path.back());
      zelta::HRESULT hr = visit(node, baseLevel + static_cast<int32_t>(path.size()) - 1);
      if (zelta::Failed(hr)) return hr;
      if (hr == zelta::S_OK) {
        if (auto child = FirstChild(node)) {
          path.push_back(std::move(child));
          continue;
        }
      }
    }
    // Move on to the next sibling, climbing while a level is exhausted.
    while (!path.empty()) {
      if (includeTop && path.size() == 1) {
        path.clear();
        break;
      }
      if (auto next = NextSibling(path.back().Get())) {
        path.back() = std::move(next);
        break;
      }
      path.pop_back();
    }
  }
  return zelta::S_OK;
}

}  // namespace walk

// Walks the subtree of top, which is at level topLevel. With includeTop the walk starts at top
// itself (and never leaves to its siblings); otherwise it covers top's descendants only.
// E_POINTER for a null top.
zelta::HRESULT WalkBookmarks(zelta::IHostBookmark* top, int32_t topLevel, bool includeTop,
                             const BookmarkVisitor& visit);

// The same for a lambda or other callable, called without a std::function in between.
template <typename Visit>
zelta::HRESULT WalkBookmarks(zelta::IHostBookmark* top, int32_t topLevel, bool includeTop,
                             Visit&& visit) {
  return walk::Walk(top, topLevel, includeTop, visit);
}

// The number of bookmarks below `bookmark` (at level `level`) that a run visits: with a
// negative start level all of them; with subLevels those of startLevel and deeper; without,
// only those of exactly startLevel.
uint32_t CountBookmarks(zelta::IHostBookmark* bookmark, int32_t startLevel, int32_t level,
                        bool subLevels);

}  // namespace bm
