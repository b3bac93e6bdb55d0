#include "zelta/app/selection/object_list.h"

#include <new>

#include "host/call_guard.h"

namespace zelta::app {

HRESULT ObjectList::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(items_.size());
  return S_OK;
}

HRESULT ObjectList::GetItem(int32_t index, IUnknown** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return S_FALSE;
  return items_[index].CopyTo(item);
}

HRESULT ObjectList::Insert(int32_t index, IUnknown* item) {
  if (!item) return E_POINTER;
  if (index == -1) index = static_cast<int32_t>(items_.size());
  if (index < 0 || static_cast<size_t>(index) > items_.size()) return E_INVALIDARG;
  if (items_.size() >= kMaxItems) return E_OUTOFMEMORY;
  return GuardCall([&] {
    items_.insert(items_.begin() + index, ComPtr<IUnknown>(item));
    return S_OK;
  });
}

HRESULT ObjectList::RemoveAt(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return E_INVALIDARG;
  items_.erase(items_.begin() + index);
  return S_OK;
}

HRESULT ObjectList::Clear() {
  items_.clear();
  return S_OK;
}

}  // namespace zelta::app
