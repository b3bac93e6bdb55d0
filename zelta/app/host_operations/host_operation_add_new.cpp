#include "zelta/app/host_operations/host_operation_add_new.h"

#include "zelta/app/host_operations/host_operation_placement_undo.h"

namespace zelta::app {

HRESULT HostOperationAddNew::Apply(IHostDocument*, const std::vector<ComPtr<IHostBookmark>>& input,
                                   ICabItem*, ComPtr<IUndoItem>* undo) {
  for (const auto& bookmark : input) {
    bool attached = false;
    bookmark->IsAttached(&attached);
    if (!attached) return E_INVALIDARG;
  }
  BookmarkPlaces after;
  HRESULT hr = FindPlaces(input, &after);
  if (Failed(hr)) return hr;
  *undo = MakeCom<BookmarkPlacementUndo>(input, BookmarkPlaces(input.size()), std::move(after));
  return S_OK;
}

}  // namespace zelta::app
