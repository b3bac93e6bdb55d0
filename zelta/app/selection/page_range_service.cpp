#include "zelta/app/selection/page_range_service.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/host_color.h"
#include "zelta/app/selection/page_range_list.h"
#include "zelta/app/selection/page_range_object.h"

namespace zelta::app {

HRESULT PageRangeService::CreatePageRange(IHostPageRange** range) {
  if (!range) return E_POINTER;
  return GuardCall([&] { return MakeCom<PageRangeObject>().CopyTo(range); });
}

HRESULT PageRangeService::CreatePageIndexList(IHostPageIndexList** list) {
  if (!list) return E_POINTER;
  return GuardCall([&] { return MakeCom<PageRangeList>().CopyTo(list); });
}

HRESULT PageRangeService::CreateColor(IHostColor** color) {
  if (!color) return E_POINTER;
  return GuardCall([&] { return MakeCom<HostColor>().CopyTo(color); });
}

HRESULT PageRangeService::CreateCab(const char16_t* templateText, int32_t length,
                                    const char16_t* rootId, ICab** cab) {
  if (!cab) return E_POINTER;
  *cab = nullptr;
  if (!cabs_) return E_NOTIMPL;
  return cabs_->CreateCab(templateText, length, rootId, cab);
}

ComPtr<IUnknown> MakeAuxComponent(ComPtr<ICabFactory> cabs) {
  auto service = MakeCom<PageRangeService>(std::move(cabs));
  return QueryAs<IUnknown>(static_cast<IPageRangeService*>(service.Get()));
}

}  // namespace zelta::app
