// A fixed list of selected host objects, in selection order.
#pragma once

#include <vector>

#include "host/selection.h"

namespace zelta::app {

class HostSelection : public ComObject<IHostSelection> {
 public:
  explicit HostSelection(std::vector<ComPtr<IUnknown>> items) : items_(std::move(items)) {}

  HRESULT GetCount(int32_t* count) override;
  HRESULT GetItem(int32_t index, IUnknown** item) override;

 private:
  std::vector<ComPtr<IUnknown>> items_;
};

}  // namespace zelta::app
