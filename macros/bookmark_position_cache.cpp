#include "macros/bookmark_position_cache.h"

#include <new>
#include <vector>

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

std::u16string Decimal(int64_t value) {
  std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

const BookmarkPositionCache::Position* BookmarkPositionCache::Cached(
    IHostBookmark* bookmark) const {
  auto found = positions_.find(bookmark);
  return found == positions_.end() ? nullptr : &found->second.position;
}

int32_t BookmarkPositionCache::IndexAmongSiblings(IHostBookmark* bookmark) const {
  // Back along the previous siblings until one whose index is known (in a walk in document
  // order, the first one asked) or the first child.
  int32_t steps = 0;
  ComPtr<IHostBookmark> current(bookmark);
  for (;;) {
    ComPtr<IHostBookmark> previous;
    if (current->GetPrevSibling(previous.Put()) != zelta::S_OK || !previous) return steps + 1;
    ++steps;
    if (const Position* known = Cached(previous.Get())) return known->indexInParent + steps;
    current = previous;
  }
}

HRESULT BookmarkPositionCache::Find(IHostBookmark* bookmark, Position& position) {
  if (!bookmark) return zelta::E_POINTER;
  if (const Position* known = Cached(bookmark)) {
    position = *known;
    return zelta::S_OK;
  }
  bool root = false;
  if (zelta::Failed(bookmark->IsRoot(&root)) || root) return zelta::E_INVALIDARG;
  // The bookmark and its ancestors whose positions are not known yet, innermost first.
  std::vector<ComPtr<IHostBookmark>> chain{ComPtr<IHostBookmark>(bookmark)};
  Position parent;  // the outline root: level 0, no index
  for (;;) {
    ComPtr<IHostBookmark> up;
    if (chain.back()->GetParent(up.Put()) != zelta::S_OK || !up) break;
    bool upIsRoot = false;
    if (zelta::Failed(up->IsRoot(&upIsRoot)) || upIsRoot) break;
    if (const Position* known = Cached(up.Get())) {
      parent = *known;
      break;
    }
    chain.push_back(up);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    Position current;
    current.level = parent.level + 1;
    current.indexInParent = IndexAmongSiblings(it->Get());
    current.hierIndex = parent.hierIndex.empty()
                            ? Decimal(current.indexInParent)
                            : parent.hierIndex + u'.' + Decimal(current.indexInParent);
    positions_.emplace(it->Get(), Entry{*it, current});
    parent = std::move(current);
  }
  position = parent;
  return zelta::S_OK;
}

}  // namespace bm
