// The host's IHostPageTextReader: a page list read in order, with the next pages prepared by
// a TextPrefetch when the window allows it.
#pragma once

#include <memory>
#include <vector>

#include "host/page_text.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/text/text_prefetch.h"

namespace zelta::pdf {

class PageTextReader final : public ComObject<IHostPageTextReader> {
 public:
  // `window` 0: every page is made on the caller's thread when asked.
  PageTextReader(ComPtr<HostDocument> document, std::vector<int32_t> pages, size_t window);

  HRESULT GetCount(int32_t* count) override;
  HRESULT Next(int32_t* page, IHostPageText** text) override;

  // Pages the second thread made (0 without prefetching).
  size_t Prefetched() const { return prefetch_ ? prefetch_->Prefetched() : 0; }

 private:
  ~PageTextReader() override;

  ComPtr<HostDocument> document_;
  std::vector<int32_t> pages_;
  size_t position_ = 0;
  std::unique_ptr<TextPrefetch> prefetch_;
};

// Makes the text of one page on the document's own handle (the caller's thread).
HRESULT MakePageText(HostDocument& document, int32_t page, IHostPageText** text);

}  // namespace zelta::pdf
