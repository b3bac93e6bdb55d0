// What a run did to the bookmark tree, for the one-line summary after it: the tree is taken
// before and after, and bookmarks are compared by identity (the host hands out one object per
// outline item).
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "host/bookmark.h"
#include "host/document.h"

namespace zelta::cli {

struct OutlineSnapshot {
  struct Entry {
    ComPtr<IHostBookmark> bookmark;  // keeps the object, so its address names only it
    std::u16string title;
    IHostBookmark* parent = nullptr;
    IHostBookmark* previous = nullptr;  // the sibling before it, null for a first child
  };
  std::map<IHostBookmark*, Entry> entries;

  // Walks the tree under root iteratively; an item met twice (a loop) is taken once.
  static OutlineSnapshot Take(IHostBookmark* root);
};

struct OutlineChanges {
  size_t made = 0, removed = 0, renamed = 0, moved = 0;
  // Pages and Link annotations the run added (negative: took away), for operations that
  // change pages rather than, or besides, bookmarks.
  int64_t pages = 0, links = 0;
  bool Any() const { return made || removed || renamed || moved || pages || links; }
};

// The pages of a document and the Link annotations on them.
struct PageTally {
  int64_t pages = 0, links = 0;
  static PageTally Take(IHostDocument* document);
};

// A bookmark counts as moved when its parent changed, or the nearest sibling before it that
// both trees hold is another one.
OutlineChanges CompareOutlines(const OutlineSnapshot& before, const OutlineSnapshot& after);

// "3 bookmarks made, 1 renamed, 2 pages inserted, 40 links made"; empty when nothing changed.
std::string DescribeChanges(const OutlineChanges& changes);

}  // namespace zelta::cli
