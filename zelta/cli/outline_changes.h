// What a run did to the bookmark tree, for the one-line summary after it: the tree is taken
// before and after, and items are compared by their key in the document's outline (each
// outline item keeps its key for as long as the document is open).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/bookmark.h"
#include "host/document.h"
#include "zelta/pdf/host_document.h"

namespace zelta::cli {

// The shape of the tree, read from the outline index without making a bookmark object or
// reading a title per item. Titles are compared through the outline's log of replaced titles,
// which the snapshot keeps open while it lives: only titles replaced meanwhile are read.
struct OutlineSnapshot {
  struct Entry {
    int key = 0;
    int parent = 0;
    int previous = -1;  // the sibling before it, -1 for a first child
  };
  ComPtr<pdf::HostDocument> document;
  std::vector<Entry> entries;  // in the order of a walk, each key once
  size_t titleLogFrom = 0;     // where this snapshot's part of the title log begins

  OutlineSnapshot() = default;
  OutlineSnapshot(OutlineSnapshot&& other) noexcept;
  OutlineSnapshot& operator=(OutlineSnapshot&& other) noexcept;
  ~OutlineSnapshot();

  const Entry* Find(int key) const {
    if (key < 0 || static_cast<size_t>(key) >= places_.size() || places_[key] == 0) return nullptr;
    return &entries[places_[key] - 1];
  }
  size_t Size() const { return entries.size(); }

  // Walks the tree under root (a bookmark of a pdf::HostDocument; any other gives an empty
  // snapshot) iteratively.
  static OutlineSnapshot Take(IHostBookmark* root);

 private:
  // By key (an object number): 1 + the entry's place in `entries`, 0 for none.
  std::vector<uint32_t> places_;
  bool watching_ = false;  // holds a watch on the document's title log
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
// both trees hold is another one; as renamed when the text of its title changed since
// `before` was taken.
OutlineChanges CompareOutlines(const OutlineSnapshot& before, const OutlineSnapshot& after);

// "3 bookmarks made, 1 renamed, 2 pages inserted, 40 links made"; empty when nothing changed.
std::string DescribeChanges(const OutlineChanges& changes);

}  // namespace zelta::cli
