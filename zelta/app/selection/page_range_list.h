// The host's IHostPageIndexList: an ordered list of zero-based page indexes.
#pragma once

#include <vector>

#include "host/page_range.h"

namespace zelta::app {

class PageRangeList final : public ComObject<IHostPageIndexList> {
 public:
  HRESULT GetCount(int32_t* count) override;
  HRESULT GetItem(int32_t index, int32_t* page) override;
  HRESULT GetItems(const int32_t** pages, int32_t* count) override;
  HRESULT Append(int32_t page) override;
  HRESULT Clear() override;

  const std::vector<int32_t>& Pages() const { return pages_; }

 private:
  ~PageRangeList() override = default;
  std::vector<int32_t> pages_;
};

}  // namespace zelta::app
