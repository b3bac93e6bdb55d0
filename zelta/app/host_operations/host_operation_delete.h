// "op.bookmarks.delete": takes bookmarks, each with its subtree, out of the outline.
#pragma once

#include "zelta/app/host_operations/host_operation_base.h"

namespace zelta::app {

class HostOperationDelete final : public HostBookmarkOperation {
 public:
  HostOperationDelete(Atom id, ComPtr<ICab> params)
      : HostBookmarkOperation(id, std::move(params)) {}

 protected:
  HRESULT Apply(IHostDocument* document, const std::vector<ComPtr<IHostBookmark>>& input,
                ICabItem* options, ComPtr<IUndoItem>* undo) override;
};

// The bookmarks of the list that have no ancestor in it (those go with their ancestor), in
// list order.
std::vector<ComPtr<IHostBookmark>> WithoutDescendants(
    const std::vector<ComPtr<IHostBookmark>>& bookmarks);

}  // namespace zelta::app
