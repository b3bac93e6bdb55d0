#include "zelta/pdf/text/page_text_reader.h"

#include "host/call_guard.h"
#include "zelta/pdf/text/page_text.h"
#include "zelta/pdf/text/page_text_extractor.h"

namespace zelta::pdf {

namespace {

HRESULT Wrap(std::shared_ptr<const PageTextData> data, IHostPageText** text) {
  return GuardCall([&] { return MakeCom<PageText>(std::move(data)).CopyTo(text); });
}

}  // namespace

HRESULT MakePageText(HostDocument& document, int32_t page, IHostPageText** text) {
  *text = nullptr;
  MuCalls& mu = document.Mu();
  if (!mu.Ctx() || !mu.Doc()) return E_FAIL;
  return GuardCall([&] {
    auto data = std::make_shared<PageTextData>();
    std::string error;
    HRESULT hr = ExtractPageText(mu.Ctx(), mu.Doc(), page, data.get(), &error);
    if (Failed(hr)) return mu.Context().Fail(hr, "page " + std::to_string(page + 1) + ": " + error);
    return Wrap(std::move(data), text);
  });
}

PageTextReader::PageTextReader(ComPtr<HostDocument> document, std::vector<int32_t> pages,
                               size_t window)
    : document_(std::move(document)), pages_(std::move(pages)) {
  MuCalls& mu = document_->Mu();
  if (window == 0 || pages_.size() < 2 || !mu.Ctx() || !mu.Doc()) return;
  std::vector<int> objectNumbers;
  objectNumbers.reserve(pages_.size());
  // From the host's map of the pages, which follows every change: asking MuPDF page by page
  // walks the page tree once per page.
  for (int32_t page : pages_) objectNumbers.push_back(document_->Pages().ObjectNumber(mu, page));
  auto handle = document_->TakeSecondHandle();
  if (!handle) return;
  prefetch_ =
      std::make_unique<TextPrefetch>(std::move(handle), pages_, std::move(objectNumbers), window);
}

PageTextReader::~PageTextReader() {
  if (prefetch_) document_->ReturnSecondHandle(prefetch_->Release());
}

HRESULT PageTextReader::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(pages_.size());
  return S_OK;
}

HRESULT PageTextReader::Next(int32_t* page, IHostPageText** text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (page) *page = -1;
  if (position_ >= pages_.size()) return S_FALSE;
  size_t position = position_++;
  if (page) *page = pages_[position];
  if (prefetch_) {
    MuCalls& mu = document_->Mu();
    auto data = prefetch_->Take(
        position, [&mu](int32_t made) { return ExtractSharedPageText(mu.Ctx(), mu.Doc(), made); });
    if (data) return Wrap(std::move(data), text);
  }
  return MakePageText(*document_, pages_[position], text);
}

}  // namespace zelta::pdf
