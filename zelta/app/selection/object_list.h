// The host's object list (IHostObjectList): an ordered list of references to host objects.
#pragma once

#include <vector>

#include "host/object_list.h"

namespace zelta::app {

class ObjectList final : public ComObject<IHostObjectList> {
 public:
  // More items than this are refused (E_OUTOFMEMORY), so a runaway caller cannot exhaust
  // memory one reference at a time.
  static constexpr size_t kMaxItems = 1u << 24;

  HRESULT GetCount(int32_t* count) override;
  HRESULT GetItem(int32_t index, IUnknown** item) override;
  HRESULT Insert(int32_t index, IUnknown* item) override;
  HRESULT RemoveAt(int32_t index) override;
  HRESULT Clear() override;

 private:
  ~ObjectList() override = default;

  std::vector<ComPtr<IUnknown>> items_;
};

}  // namespace zelta::app
