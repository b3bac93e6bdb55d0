// "op.annots.addNew": records annotations already created on pages as added, so that the
// step undoes by taking them off their pages and redoes by putting them back.
#pragma once

#include "zelta/app/host_operations/host_object_operation.h"

namespace zelta::app {

class HostOperationAddAnnots final : public HostObjectOperation {
 public:
  HostOperationAddAnnots(Atom id, ComPtr<ICab> params)
      : HostObjectOperation(id, std::move(params)) {}

  // S_FALSE for an empty input. E_INVALIDARG for an element that is not one of the host's
  // annotations on a page, or annotations of more than one document.
  HRESULT Do(int32_t flags, intptr_t extra) override;

 private:
  ~HostOperationAddAnnots() override = default;
};

}  // namespace zelta::app
