#include "framework/bookmark_walker.h"

#include <unordered_set>
#include <vector>

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

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

}  // namespace

HRESULT WalkBookmarks(IHostBookmark* top, int32_t topLevel, bool includeTop,
                      const BookmarkVisitor& visit) {
  if (!top) return zelta::E_POINTER;
  ComPtr<IHostBookmark> start = includeTop ? ComPtr<IHostBookmark>(top) : FirstChild(top);
  if (!start) return zelta::S_OK;
  const int32_t baseLevel = includeTop ? topLevel : topLevel + 1;

  // path[i] is the bookmark being walked at depth i below the start.
  std::vector<ComPtr<IHostBookmark>> path{start};
  // Visited bookmarks, kept alive so that their addresses stay unique during the walk.
  std::vector<ComPtr<IHostBookmark>> visited;
  std::unordered_set<IHostBookmark*> seen;
  while (!path.empty()) {
    IHostBookmark* node = path.back().Get();
    if (!seen.insert(node).second) {
      // A loop: this sibling chain ends here.
      path.pop_back();
    } else {
      visited.push_back(path.back());
      HRESULT hr = visit(node, baseLevel + static_cast<int32_t>(path.size()) - 1);
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

uint32_t CountBookmarks(IHostBookmark* bookmark, int32_t startLevel, int32_t level,
                        bool subLevels) {
  if (!bookmark) return 0;
  const bool limited = startLevel >= 0;
  // Without sub-levels nothing is counted below the start level.
  if (limited && !subLevels && startLevel <= level) return 0;
  uint32_t count = 0;
  WalkBookmarks(bookmark, level, false, [&](IHostBookmark*, int32_t itemLevel) -> HRESULT {
    if (!limited || itemLevel >= startLevel) ++count;
    return limited && !subLevels && itemLevel >= startLevel ? zelta::S_FALSE : zelta::S_OK;
  });
  return count;
}

}  // namespace bm
