#include "zelta/app/selection/page_range_object.h"

#include <new>

#include "zelta/base/text_codec.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::app {

HRESULT PageRangeObject::SetPageCount(int32_t count) {
  if (count < 0) return E_INVALIDARG;
  pageCount_ = count;
  return S_OK;
}

HRESULT PageRangeObject::Load(ICabItem* pagesRange, int32_t) {
  pages_.clear();
  error_.clear();
  if (!pagesRange) return E_POINTER;
  try {
    return PageRange::FromCab(pagesRange).Select(pageCount_, &pages_, &error_);
  } catch (const std::bad_alloc&) {
    pages_.clear();
    error_ = "page range: out of memory";
    return E_OUTOFMEMORY;
  }
}

HRESULT PageRangeObject::GetError(BString* message) {
  return ReturnString(base::LossyUtf16(error_), message);
}

HRESULT PageRangeObject::Fill(IHostPageIndexList* list, int32_t) {
  if (!list) return E_POINTER;
  for (int32_t page : pages_) {
    HRESULT hr = list->Append(page);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zelta::app
