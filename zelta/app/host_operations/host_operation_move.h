// "op.bookmarks.move": moves bookmarks, in input order and each with its subtree, under the
// "Parent" option in front of the "InsertBefore" option (null: after the last child).
#pragma once

#include "zelta/app/host_operations/host_operation_base.h"

namespace zelta::app {

class HostOperationMove final : public HostBookmarkOperation {
 public:
  HostOperationMove(Atom id, ComPtr<ICab> params) : HostBookmarkOperation(id, std::move(params)) {}

 protected:
  // E_INVALIDARG, with nothing moved, when a bookmark would go into its own subtree, the
  // parent or InsertBefore is not a bookmark of the document, or InsertBefore is not a
  // child of the parent or is moved itself.
  HRESULT Apply(IHostDocument* document, const std::vector<ComPtr<IHostBookmark>>& input,
                ICabItem* options, ComPtr<IUndoItem>* undo) override;
};

}  // namespace zelta::app
