// The page text service (component "ZLT"): page text, fonts and page-text readers of the
// host's PDF documents.
#pragma once

#include "host/document.h"
#include "host/page_text.h"

namespace zelta::pdf {

class HostDocument;

class PageTextService final : public ComObject<IPageTextService> {
 public:
  // Pages prepared ahead by a reader when the caller asks for the host's default. A short
  // window holds the second thread back until the caller takes a page, and the caller then
  // often claims the next page itself before that thread wakes: on a long run the thread
  // idled for over a third of the pages. Sixteen pages of text are a few MiB at most.
  static constexpr int32_t kDefaultWindow = 16;
  // The largest window a caller may ask for (more would only cost memory).
  static constexpr int32_t kMaxWindow = 16;

  HRESULT GetPageText(IHostDocument* document, int32_t page, IHostPageText** text) override;
  HRESULT GetFont(IHostDocument* document, uint32_t fontId, IHostFont** font) override;
  HRESULT OpenReader(IHostDocument* document, const int32_t* pages, int32_t count, int32_t window,
                     IHostPageTextReader** reader) override;
  HRESULT EnumerateFonts(IHostDocument* document, IFontEnumerationSink* sink) override;

  // The host's own document object behind an interface; null for another implementation.
  static HostDocument* PdfDocument(IHostDocument* document);

 private:
  ~PageTextService() override = default;
};

ComPtr<IPageTextService> MakePageTextService();

}  // namespace zelta::pdf
