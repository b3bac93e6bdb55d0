// "op.bookmarks.setProps": sets the properties chosen by the "Mask" option (BookmarkPropMask)
// on every input bookmark.
#pragma once

#include "zelta/app/host_operations/host_operation_base.h"

namespace zelta::app {

class HostOperationSetProps final : public HostBookmarkOperation {
 public:
  HostOperationSetProps(Atom id, ComPtr<ICab> params)
      : HostBookmarkOperation(id, std::move(params)) {}

 protected:
  // S_FALSE for mask 0; E_INVALIDARG for unknown mask bits, a style outside 0-3 or an
  // "Actions" object that is not an action list. A failing bookmark puts every bookmark
  // back as it was.
  HRESULT Apply(IHostDocument* document, const std::vector<ComPtr<IHostBookmark>>& input,
                ICabItem* options, ComPtr<IUndoItem>* undo) override;
};

}  // namespace zelta::app
