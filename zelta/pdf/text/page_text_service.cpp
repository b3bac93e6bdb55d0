#include "zelta/pdf/text/page_text_service.h"

#include <set>
#include <vector>

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/fonts/font_handle.h"
#include "zelta/pdf/fonts/font_table.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/text/page_text_reader.h"

namespace zelta::pdf {

namespace {

HRESULT CheckPage(HostDocument& document, int32_t page) {
  int32_t count = 0;
  HRESULT hr = document.GetPageCount(&count);
  if (Failed(hr)) return hr;
  return page >= 0 && page < count ? S_OK : E_INVALIDARG;
}

}  // namespace

HostDocument* PageTextService::PdfDocument(IHostDocument* document) {
  return document ? dynamic_cast<HostDocument*>(document) : nullptr;
}

HRESULT PageTextService::GetPageText(IHostDocument* document, int32_t page, IHostPageText** text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  HostDocument* pdf = PdfDocument(document);
  if (!pdf) return E_INVALIDARG;
  HRESULT hr = CheckPage(*pdf, page);
  if (Failed(hr)) return hr;
  return MakePageText(*pdf, page, text);
}

HRESULT PageTextService::GetFont(IHostDocument* document, uint32_t fontId, IHostFont** font) {
  if (!font) return E_POINTER;
  *font = nullptr;
  if (!document) return E_INVALIDARG;
  auto entry = FontTable::Instance().Find(fontId);
  if (!entry) return S_FALSE;
  return GuardCall([&] { return MakeCom<FontHandle>(fontId, std::move(*entry)).CopyTo(font); });
}

HRESULT PageTextService::OpenReader(IHostDocument* document, const int32_t* pages, int32_t count,
                                    int32_t window, IHostPageTextReader** reader) {
  if (!reader) return E_POINTER;
  *reader = nullptr;
  HostDocument* pdf = PdfDocument(document);
  if (!pdf || count < 0 || (count > 0 && !pages)) return E_INVALIDARG;
  int32_t pageCount = 0;
  HRESULT hr = pdf->GetPageCount(&pageCount);
  if (Failed(hr)) return hr;
  return GuardCall([&] {
    std::vector<int32_t> list(pages, pages + count);
    for (int32_t page : list)
      if (page < 0 || page >= pageCount) return E_INVALIDARG;
    if (window < 0) window = kDefaultWindow;
    if (window > kMaxWindow) window = kMaxWindow;
    return MakeCom<PageTextReader>(ComPtr<HostDocument>(pdf), std::move(list),
                                   static_cast<size_t>(window))
        .CopyTo(reader);
  });
}

HRESULT PageTextService::EnumerateFonts(IHostDocument* document, IFontEnumerationSink* sink) {
  if (!sink) return E_POINTER;
  HostDocument* pdf = PdfDocument(document);
  if (!pdf) return E_INVALIDARG;
  int32_t pageCount = 0;
  HRESULT hr = pdf->GetPageCount(&pageCount);
  if (Failed(hr)) return hr;
  // The fonts page text is set in are the ones a level can match, so the pages' text is the
  // source, read ahead on the second thread like any run's.
  std::vector<int32_t> pages(static_cast<size_t>(pageCount));
  for (int32_t i = 0; i < pageCount; ++i) pages[static_cast<size_t>(i)] = i;
  ComPtr<IHostPageTextReader> reader;
  hr = OpenReader(document, pages.data(), pageCount, -1, reader.Put());
  if (Failed(hr)) return hr;
  std::set<uint32_t> seen;
  for (int32_t done = 1;; ++done) {
    int32_t page = -1;
    ComPtr<IHostPageText> text;
    hr = reader->Next(&page, text.Put());
    if (hr == S_FALSE) break;
    const PageTextChar* chars = nullptr;
    int32_t count = 0;
    if (Succeeded(hr) && text && Succeeded(text->GetChars(&chars, &count)))
      for (int32_t i = 0; i < count; ++i) {
        const uint32_t id = chars[i].fontId;
        if (id == 0 || !seen.insert(id).second) continue;
        auto entry = FontTable::Instance().Find(id);
        if (!entry) continue;
        const std::u16string name = base::LossyUtf16(entry->name);
        if (sink->OnFont(id, name.c_str(), static_cast<int32_t>(name.size())) != S_OK)
          return S_FALSE;
      }
    if (sink->OnProgress(done, pageCount) != S_OK) return S_FALSE;
  }
  if (pageCount == 0) sink->OnProgress(0, 0);
  return S_OK;
}

ComPtr<IPageTextService> MakePageTextService() { return MakeCom<PageTextService>(); }

}  // namespace zelta::pdf
