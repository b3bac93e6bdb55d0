// The "AUX" component: the page-range service, the colour objects, and the Cab factory it has
// always been (the Cab requests are handed to the factory it wraps).
#pragma once

#include "host/cab.h"
#include "host/color.h"
#include "host/page_range.h"

namespace zelta::app {

class PageRangeService final : public ComObject<IPageRangeService, ICabFactory, IColorService> {
 public:
  explicit PageRangeService(ComPtr<ICabFactory> cabs) : cabs_(std::move(cabs)) {}

  HRESULT CreatePageRange(IHostPageRange** range) override;
  HRESULT CreatePageIndexList(IHostPageIndexList** list) override;
  HRESULT CreateColor(IHostColor** color) override;
  HRESULT CreateCab(const char16_t* templateText, int32_t length, const char16_t* rootId,
                    ICab** cab) override;

 private:
  ~PageRangeService() override = default;
  ComPtr<ICabFactory> cabs_;
};

// The AUX component object over a Cab factory.
ComPtr<IUnknown> MakeAuxComponent(ComPtr<ICabFactory> cabs);

}  // namespace zelta::app
