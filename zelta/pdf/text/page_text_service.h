// The page text service (component "ZLT"): page text, fonts and page-text readers of the
// host's PDF documents.
#pragma once

#include "host/document.h"
#include "host/page_text.h"

namespace zelta::pdf {

class HostDocument;

class PageTextService final : public ComObject<IPageTextService> {
 public:
  // Pages prepared ahead by a reader when the caller asks for the host's default.
  static constexpr int32_t kDefaultWindow = 2;
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
