// The host's IHostPageRange: a PageRange loaded from options, for a document's page count.
#pragma once

#include <string>
#include <vector>

#include "host/page_range.h"
#include "zelta/app/selection/page_range.h"

namespace zelta::app {

class PageRangeObject final : public ComObject<IHostPageRange> {
 public:
  HRESULT SetPageCount(int32_t count) override;
  HRESULT Load(ICabItem* pagesRange, int32_t flags) override;
  HRESULT GetError(BString* message) override;
  HRESULT Fill(IHostPageIndexList* list, int32_t reserved) override;

 private:
  ~PageRangeObject() override = default;

  int32_t pageCount_ = 0;
  std::vector<int32_t> pages_;
  std::string error_;
};

}  // namespace zelta::app
