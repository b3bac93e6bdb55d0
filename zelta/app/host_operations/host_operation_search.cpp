#include "zelta/app/host_operations/host_operation_search.h"

#include <algorithm>

#include "host/call_guard.h"
#include "host/search.h"
#include "zelta/app/selection/text_search.h"
#include "zelta/pdf/text/page_text_service.h"

namespace zelta::app {

HRESULT HostOperationSearch::Do(int32_t, intptr_t) {
  return GuardCall([&]() -> HRESULT {
    ComPtr<ICab> params;
    ComPtr<ICabItem> root, input, pageSet;
    HRESULT hr = GetParams(params.Put());
    if (Succeeded(hr)) hr = params->GetRoot(root.Put());
    if (Succeeded(hr) && root->GetItem(u"Input", input.Put()) != S_OK) hr = E_INVALIDARG;
    OwnedString text;
    if (Succeeded(hr)) hr = input->GetText(nullptr, u"", text.Put());
    if (Failed(hr)) return hr;
    ComPtr<ICabItem> options = Options();
    int32_t searchFlags = 0, first = 0, last = -1;
    ComPtr<IUnknown> documentObject, callbackObject;
    if (!options || options->GetItem(u"PageSet", pageSet.Put()) != S_OK) return E_INVALIDARG;
    options->GetInt(u"Flags", 0, &searchFlags);
    options->GetObject(u"Callback", callbackObject.Put());
    pageSet->GetObject(u"Document", documentObject.Put());
    pageSet->GetInt(u"First", 0, &first);
    pageSet->GetInt(u"Last", -1, &last);
    auto document = QueryAs<IHostDocument>(documentObject.Get());
    auto callback = QueryAs<ISearchHitCallback>(callbackObject.Get());
    const TextSearch search(text.View(), searchFlags);
    if (!document || !callback || search.Empty()) return E_INVALIDARG;
    int32_t pages = 0;
    document->GetPageCount(&pages);
    first = std::max(first, 0);
    last = std::min(last, pages - 1);
    auto service = pdf::MakePageTextService();
    bool found = false;
    for (int32_t page = first; page <= last; ++page) {
      ComPtr<IHostPageText> pageText;
      hr = service->GetPageText(document.Get(), page, pageText.Put());
      if (Failed(hr)) return hr;
      const PageTextChar* chars = nullptr;
      int32_t count = 0;
      pageText->GetChars(&chars, &count);
      for (const PageBox& box : search.Find(chars, count)) {
        found = true;
        hr = callback->OnHit(page, &box);
        if (Failed(hr)) return hr;
        if (hr == S_FALSE) return S_OK;
      }
    }
    return found ? S_OK : S_FALSE;
  });
}

}  // namespace zelta::app
