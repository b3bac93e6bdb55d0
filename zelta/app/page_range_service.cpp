#include "zelta/app/page_range_service.h"

#include <new>

#include "zelta/app/host_color.h"
#include "zelta/app/page_range_list.h"
#include "zelta/app/page_range_object.h"

namespace zelta::app {

HRESULT PageRangeService::CreatePageRange(IHostPageRange** range) {
  if (!range) return E_POINTER;
  ComPtr<PageRangeObject> made(new (std::nothrow) PageRangeObject());
  *range = made.Detach();
  return *range ? S_OK : E_OUTOFMEMORY;
}

HRESULT PageRangeService::CreatePageIndexList(IHostPageIndexList** list) {
  if (!list) return E_POINTER;
  ComPtr<PageRangeList> made(new (std::nothrow) PageRangeList());
  *list = made.Detach();
  return *list ? S_OK : E_OUTOFMEMORY;
}

HRESULT PageRangeService::CreateColor(IHostColor** color) {
  if (!color) return E_POINTER;
  ComPtr<HostColor> made(new (std::nothrow) HostColor());
  *color = made.Detach();
  return *color ? S_OK : E_OUTOFMEMORY;
}

HRESULT PageRangeService::CreateCab(const char16_t* templateText, int32_t length,
                                    const char16_t* rootId, ICab** cab) {
  if (!cab) return E_POINTER;
  *cab = nullptr;
  if (!cabs_) return E_NOTIMPL;
  return cabs_->CreateCab(templateText, length, rootId, cab);
}

ComPtr<IUnknown> MakeAuxComponent(ComPtr<ICabFactory> cabs) {
  ComPtr<PageRangeService> service(new PageRangeService(std::move(cabs)));
  return QueryAs<IUnknown>(static_cast<IPageRangeService*>(service.Get()));
}

}  // namespace zelta::app
