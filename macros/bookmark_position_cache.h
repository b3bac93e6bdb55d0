// Where bookmarks sit in the outline: level, position among siblings and hierarchical index
// ("2.1.3"). Positions found once are kept, so a run that walks a large tree in document
// order asks each bookmark's parent and previous sibling only once: a bookmark's position
// follows from its parent's and its previous sibling's.
#pragma once

#include <string>
#include <unordered_map>

#include "host/bookmark.h"

namespace bm {

class BookmarkPositionCache {
 public:
  struct Position {
    int32_t level = 0;          // top level = 1
    int32_t indexInParent = 0;  // 1-based
    std::u16string hierIndex;   // "2.1.3"
  };

  // The position of a bookmark of the outline; E_POINTER for null, E_INVALIDARG for the
  // root, E_OUTOFMEMORY when the cache cannot grow.
  zelta::HRESULT Find(zelta::IHostBookmark* bookmark, Position& position);
  void Clear() { positions_.clear(); }
  size_t Size() const { return positions_.size(); }

 private:
  struct Entry {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;  // keeps the key's object alive
    Position position;
  };

  const Position* Cached(zelta::IHostBookmark* bookmark) const;
  int32_t IndexAmongSiblings(zelta::IHostBookmark* bookmark) const;

  std::unordered_map<zelta::IHostBookmark*, Entry> positions_;
};

}  // namespace bm
