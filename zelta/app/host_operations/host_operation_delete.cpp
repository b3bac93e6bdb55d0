#include "zelta/app/host_operations/host_operation_delete.h"

#include <unordered_map>
#include <unordered_set>

#include "zelta/app/host_operations/host_operation_placement_undo.h"

namespace zelta::app {

std::vector<ComPtr<IHostBookmark>> WithoutDescendants(
    const std::vector<ComPtr<IHostBookmark>>& bookmarks) {
  std::unordered_set<IHostBookmark*> listed;
  for (const auto& bookmark : bookmarks) listed.insert(bookmark.Get());
  // Whether an item or one of its ancestors is listed, for every item a walk went through:
  // a later walk stops there, so a selection of a whole deep branch costs its size, not the
  // square of its depth.
  std::unordered_map<IHostBookmark*, bool> listedAbove;
  std::vector<ComPtr<IHostBookmark>> held;  // keeps the remembered items (and their addresses)
  std::vector<ComPtr<IHostBookmark>> kept;
  for (const auto& bookmark : bookmarks) {
    std::vector<ComPtr<IHostBookmark>> path;
    ComPtr<IHostBookmark> parent;
    bookmark->GetParent(parent.Put());
    // Parent links end at the root or at a detached item; the index keeps them acyclic.
    bool covered = false;
    while (parent) {
      if (listed.count(parent.Get())) {
        covered = true;
        break;
      }
      if (auto known = listedAbove.find(parent.Get()); known != listedAbove.end()) {
        covered = known->second;
        break;
      }
      path.push_back(parent);
      ComPtr<IHostBookmark> up;
      parent->GetParent(up.Put());
      parent = up;
    }
    for (auto& item : path) {
      listedAbove[item.Get()] = covered;
      held.push_back(std::move(item));
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
