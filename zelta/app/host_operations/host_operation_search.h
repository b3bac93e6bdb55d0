// "op.search": finds a text on a set of pages and reports every hit to the caller's callback
// (host/search.h). It reads only; no undo step.
#pragma once

#include "zelta/app/host_operations/host_object_operation.h"

namespace zelta::app {

class HostOperationSearch final : public HostObjectOperation {
 public:
  HRESULT Do(int32_t flags, intptr_t extra) override;

 private:
  friend struct zelta::ComAccess;
  HostOperationSearch(Atom id, ComPtr<ICab> params) : HostObjectOperation(id, std::move(params)) {}
  ~HostOperationSearch() override = default;
};

}  // namespace zelta::app
