// The host's IHostPageText over extracted page text (shared, read-only data).
#pragma once

#include <memory>

#include "host/page_text.h"
#include "zelta/pdf/text/page_text_data.h"

namespace zelta::pdf {

class PageText final : public ComObject<IHostPageText> {
 public:
  explicit PageText(std::shared_ptr<const PageTextData> data) : data_(std::move(data)) {}

  HRESULT GetPageIndex(int32_t* page) override;
  HRESULT GetCharCount(int32_t* count) override;
  HRESULT GetChars(const PageTextChar** chars, int32_t* count) override;
  HRESULT GetChar(int32_t index, PageTextChar* ch) override;
  HRESULT GetText(int32_t start, int32_t length, BString* text) override;
  HRESULT GetLineCount(int32_t* count) override;
  HRESULT GetLine(int32_t line, BString* text, int32_t* first) override;

  const PageTextData& Data() const { return *data_; }

 private:
  ~PageText() override = default;
  int32_t Count() const { return static_cast<int32_t>(data_->chars.size()); }

  std::shared_ptr<const PageTextData> data_;
};

}  // namespace zelta::pdf
