#include "zelta/app/host_operation_delete.h"

#include <unordered_set>

#include "zelta/app/host_operation_placement_undo.h"

namespace zelta::app {

std::vector<ComPtr<IHostBookmark>> WithoutDescendants(
    const std::vector<ComPtr<IHostBookmark>>& bookmarks) {
  std::unordered_set<IHostBookmark*> listed;
  for (const auto& bookmark : bookmarks) listed.insert(bookmark.Get());
  std::vector<ComPtr<IHostBookmark>> kept;
  for (const auto& bookmark : bookmarks) {
    bool covered = false;
    ComPtr<IHostBookmark> parent;
    bookmark->GetParent(parent.Put());
    // Parent links end at the root or at a detached item; the index keeps them acyclic.
    while (parent && !covered) {
      covered = listed.count(parent.Get()) != 0;
      ComPtr<IHostBookmark> up;
      parent->GetParent(up.Put());
      parent = up;
    }
    if (!covered) kept.push_back(bookmark);
  }
  return kept;
}

HRESULT HostOperationDelete::Apply(IHostDocument*, const std::vector<ComPtr<IHostBookmark>>& input,
                                   ICabItem*, ComPtr<IUndoItem>* undo) {
  std::vector<ComPtr<IHostBookmark>> targets;
  for (const auto& bookmark : WithoutDescendants(input)) {
    bool attached = false;
    bookmark->IsAttached(&attached);
    if (attached) targets.push_back(bookmark);  // one that is out already needs nothing
  }
  if (targets.empty()) return S_FALSE;
  BookmarkPlaces before;
  HRESULT hr = FindPlaces(targets, &before);
  if (Failed(hr)) return hr;
  BookmarkPlaces after(targets.size());
  hr = ApplyPlaces(targets, after);
  if (Failed(hr)) {
    ApplyPlaces(targets, before);
    return hr;
  }
  *undo = MakeCom<BookmarkPlacementUndo>(targets, std::move(before), std::move(after));
  return S_OK;
}

}  // namespace zelta::app
