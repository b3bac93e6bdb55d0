#include "autogen/page_source.h"

#include "framework/plugin_context.h"
#include "host/page_range.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

ComPtr<zelta::IPageTextService> PageTextService(zelta::IHostApp* app) {
  return GetHostComponent<zelta::IPageTextService>(app, "ZLT");
}

PageSource::PageSource(zelta::IHostApp* app, zelta::IHostDocument* document)
    : app_(app), document_(document), text_(PageTextService(app)) {}

HRESULT PageSource::SelectPages(zelta::ICabItem* pagesRange, std::u16string* error) {
  pages_.clear();
  auto service = GetHostComponent<zelta::IPageRangeService>(app_.Get(), "AUX");
  if (!service || !document_ || !text_) {
    if (error) *error = u"the host offers no page text or page ranges";
    return zelta::E_FAIL;
  }
  int32_t pageCount = 0;
  HRESULT hr = document_->GetPageCount(&pageCount);
  if (zelta::Failed(hr)) return hr;
  ComPtr<zelta::IHostPageRange> range;
  ComPtr<zelta::IHostPageIndexList> list;
  hr = service->CreatePageRange(range.Put());
  if (zelta::Succeeded(hr)) hr = service->CreatePageIndexList(list.Put());
  if (zelta::Succeeded(hr) && (!range || !list)) hr = zelta::E_FAIL;
  if (zelta::Succeeded(hr)) hr = range->SetPageCount(pageCount);
  if (zelta::Succeeded(hr)) {
    hr = range->Load(pagesRange, 0x72);
    if (zelta::Failed(hr)) {
      zelta::OwnedString why;
      range->GetError(why.Put());
      if (error) *error = u"PagesRange: " + why.Str();
      return hr;
    }
  }
  if (zelta::Succeeded(hr)) hr = range->Fill(list.Get(), -1);
  const int32_t* items = nullptr;
  int32_t count = 0;
  if (zelta::Succeeded(hr)) hr = list->GetItems(&items, &count);
  if (zelta::Failed(hr)) return hr;
  if (items && count > 0) pages_.assign(items, items + count);
  return zelta::S_OK;
}

HRESULT PageSource::Open(int32_t window) {
  reader_.Reset();
  if (!text_) return zelta::E_FAIL;
  HRESULT hr = text_->OpenReader(document_.Get(), pages_.empty() ? nullptr : pages_.data(),
                                 static_cast<int32_t>(pages_.size()), window, reader_.Put());
  if (zelta::Succeeded(hr) && !reader_) hr = zelta::E_FAIL;
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

HRESULT PageSource::Next(int32_t* page, ComPtr<zelta::IHostPageText>* text) {
  if (!reader_) return zelta::E_FAIL;
  HRESULT hr = reader_->Next(page, text->Put());
  if (hr == zelta::S_FALSE) return hr;
  if (zelta::Succeeded(hr) && !*text) hr = zelta::E_FAIL;
  return hr;
}

bool PageSource::FontName(uint32_t fontId, std::u16string* name) {
  if (!text_) return false;
  ComPtr<zelta::IHostFont> font;
  if (text_->GetFont(document_.Get(), fontId, font.Put()) != zelta::S_OK || !font) return false;
  zelta::OwnedString text;
  if (zelta::Failed(font->GetName(text.Put()))) return false;
  *name = text.Str();
  return true;
}

}  // namespace bm
