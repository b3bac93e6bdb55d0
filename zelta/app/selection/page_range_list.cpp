#include "zelta/app/selection/page_range_list.h"

#include <new>

#include "host/call_guard.h"

namespace zelta::app {

HRESULT PageRangeList::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(pages_.size());
  return S_OK;
}

HRESULT PageRangeList::GetItem(int32_t index, int32_t* page) {
  if (!page) return E_POINTER;
  if (index < 0 || static_cast<size_t>(index) >= pages_.size()) return E_INVALIDARG;
  *page = pages_[static_cast<size_t>(index)];
  return S_OK;
}

HRESULT PageRangeList::GetItems(const int32_t** pages, int32_t* count) {
  if (!pages || !count) return E_POINTER;
  *count = static_cast<int32_t>(pages_.size());
  *pages = pages_.empty() ? nullptr : pages_.data();
  return S_OK;
}

HRESULT PageRangeList::Append(int32_t page) {
  if (page < 0) return E_INVALIDARG;
  return GuardCall([&] {
    pages_.push_back(page);
    return S_OK;
  });
}

HRESULT PageRangeList::Clear() {
  pages_.clear();
  return S_OK;
}

}  // namespace zelta::app
