// What a run did to the bookmark tree, for the one-line summary after it: the tree is taken
// before and after, and items are compared by their key in the document's outline (each
// outline item keeps its key for as long as the document is open).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/bookmark.h"
#include "host/document.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/mu_object.h"

namespace zelta::cli {

// The shape of the tree and a reference to each title object, read from the outline index
// without making a bookmark object or a copy of a title per item: a title still held by the
// same object is unchanged, so only replaced titles are ever decoded.
struct OutlineSnapshot {
  struct Entry {
    int key = 0;
    int parent = 0;
    int previous = -1;    // the sibling before it, -1 for a first child
    pdf::MuObject title;  // kept, so its address names only it
  };
  ComPtr<pdf::HostDocument> document;
  std::vector<Entry> entries;  // ordered by key

  const Entry* Find(int key) const;
  size_t Size() const { return entries.size(); }

  // Walks the tree under root (a bookmark of a pdf::HostDocument; any other gives an empty
  // snapshot) iteratively.
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
  static PageTally Take(pdf::HostDocument* document);
};

// A bookmark counts as moved when its parent changed, or the nearest sibling before it that
// both trees hold is another one.
OutlineChanges CompareOutlines(const OutlineSnapshot& before, const OutlineSnapshot& after);

// "3 bookmarks made, 1 renamed, 2 pages inserted, 40 links made"; empty when nothing changed.
std::string DescribeChanges(const OutlineChanges& changes);

}  // namespace zelta::cli
