// The host's text selection of a document: the one object of its "selection.text" selection.
#pragma once

#include <string>
#include <vector>

#include "host/document.h"
#include "host/page_text.h"

namespace zelta::app {

class TextSelection final : public ComObject<IHostTextSelection> {
 public:
  explicit TextSelection(std::vector<ComPtr<IHostTextSelectionPart>> parts)
      : parts_(std::move(parts)) {}

  HRESULT GetPartCount(int32_t* count) override;
  HRESULT GetPart(int32_t index, IHostTextSelectionPart** part) override;

  // A selection with one part per "PAGE[:x0,y0,x1,y1]" argument (1-based page, rectangle in
  // PDF points, the whole page when omitted), in their order. E_INVALIDARG with *error naming
  // the argument when one does not parse or its page is outside the document.
  static HRESULT FromArguments(IHostDocument* document, const std::vector<std::string>& arguments,
                               ComPtr<TextSelection>* selection, std::string* error);

 private:
  ~TextSelection() override = default;
  std::vector<ComPtr<IHostTextSelectionPart>> parts_;
};

}  // namespace zelta::app
