// "op.document.insertEmptyPages": inserts empty pages of one size into the input document.
#pragma once

#include "zelta/app/host_operations/host_object_operation.h"

namespace zelta::app {

class HostOperationInsertPages final : public HostObjectOperation {
 public:
  static constexpr int32_t kMaxCount = 100000;
  // Page sides PDF readers are built for, in points.
  static constexpr double kMinSide = 3, kMaxSide = 14400;

  HostOperationInsertPages(Atom id, ComPtr<ICab> params)
      : HostObjectOperation(id, std::move(params)) {}

  // E_INVALIDARG for a count, position or size out of range or an input that is not one of
  // the host's documents; E_NO_PERMISSION when the document may not get new pages.
  HRESULT Do(int32_t flags, intptr_t extra) override;

 private:
  ~HostOperationInsertPages() override = default;
};

}  // namespace zelta::app
