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
  // PDF points, the whole page when omitted), in their order; an argument that lists pages
  // ("3-6", "3,5-6") gives the whole text of each, in that order. E_INVALIDARG with *error naming
  // the argument when one does not parse or its page is outside the document.
  static HRESULT FromArguments(IHostDocument* document, const std::vector<std::string>& arguments,
                               ComPtr<TextSelection>* selection, std::string* error);

 private:
  // More pages than any document a selection is made on has: a list such as "1-2000000000"
  // fails before it costs memory.
  static constexpr size_t kMaxListedPages = 1u << 20;
  static bool ParsePageList(std::string_view text, std::vector<int32_t>* pages, std::string* error);
  ~TextSelection() override = default;
  std::vector<ComPtr<IHostTextSelectionPart>> parts_;
};

}  // namespace zelta::app
