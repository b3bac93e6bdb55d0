#include "framework/bookmark_walker.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace walk {

namespace {

size_t SlotOf(uintptr_t key, size_t mask) {
  // Objects are aligned: the low bits carry nothing, the multiplication spreads the rest.
  return static_cast<size_t>(((key >> 4) * 0x9E3779B97F4A7C15ull) >> 20) & mask;
}

}  // namespace

bool SeenBookmarks::Insert(const IHostBookmark* bookmark) {
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  const uintptr_t key = reinterpret_cast<uintptr_t>(bookmark);
  const size_t mask = slots_.size() - 1;
  for (size_t slot = SlotOf(key, mask);; slot = (slot + 1) & mask) {
    if (slots_[slot] == key) return false;
    if (slots_[slot] == 0) {
      slots_[slot] = key;
      ++size_;
      return true;
    }
  }
}

void SeenBookmarks::Grow() {
  std::vector<uintptr_t> old(slots_.empty() ? 64 : slots_.size() * 2, 0);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (uintptr_t key : old) {
    if (!key) continue;
    size_t slot = SlotOf(key, mask);
    while (slots_[slot]) slot = (slot + 1) & mask;
    slots_[slot] = key;
  }
}

ComPtr<IHostBookmark> FirstChild(IHostBookmark* bookmark) {
  ComPtr<IHostBookmark> child;
  if (bookmark->GetFirstChild(child.Put()) != zelta::S_OK) return nullptr;
  return child;
}

ComPtr<IHostBookmark> NextSibling(IHostBookmark* bookmark) {
  ComPtr<IHostBookmark> sibling;
  if (bookmark->GetNextSibling(sibling.Put()) != zelta::S_OK) return nullptr;
  return sibling;
}

}  // namespace walk

HRESULT WalkBookmarks(IHostBookmark* top, int32_t topLevel, bool includeTop,
                      const BookmarkVisitor& visit) {
  return walk::Walk(top, topLevel, includeTop, visit);
}

uint32_t CountBookmarks(IHostBookmark* bookmark, int32_t startLevel, int32_t level,
                        bool subLevels) {
  if (!bookmark) return 0;
  const bool limited = startLevel >= 0;
  // Without sub-levels nothing is counted below the start level.
  if (limited && !subLevels && startLevel <= level) return 0;
  uint32_t count = 0;
  auto visit = [&](IHostBookmark*, int32_t itemLevel) -> HRESULT {
    if (!limited || itemLevel >= startLevel) ++count;
    return limited && !subLevels && itemLevel >= startLevel ? zelta::S_FALSE : zelta::S_OK;
  };
  walk::Walk(bookmark, level, false, visit);
  return count;
}

}  // namespace bm
