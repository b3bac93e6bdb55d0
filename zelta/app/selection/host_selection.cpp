#include "zelta/app/selection/host_selection.h"

namespace zelta::app {

HRESULT HostSelection::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(items_.size());
  return S_OK;
}

HRESULT HostSelection::GetItem(int32_t index, IUnknown** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return S_FALSE;
  return items_[index].CopyTo(item);
}

}  // namespace zelta::app
