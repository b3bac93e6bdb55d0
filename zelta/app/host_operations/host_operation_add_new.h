// "op.bookmarks.addNew.simple": records bookmarks that the caller has already inserted as
// added at their present places, so that the step undoes by taking them out and redoes by
// putting them back. The document itself is not touched.
#pragma once

#include "zelta/app/host_operations/host_operation_base.h"

namespace zelta::app {

class HostOperationAddNew final : public HostBookmarkOperation {
 public:
  HostOperationAddNew(Atom id, ComPtr<ICab> params)
      : HostBookmarkOperation(id, std::move(params)) {}

 protected:
  // E_INVALIDARG when a bookmark is not in the outline.
  HRESULT Apply(IHostDocument* document, const std::vector<ComPtr<IHostBookmark>>& input,
                ICabItem* options, ComPtr<IUndoItem>* undo) override;
};

}  // namespace zelta::app
