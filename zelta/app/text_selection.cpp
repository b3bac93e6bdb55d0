#include "zelta/app/text_selection.h"

#include "zelta/app/text_selection_part.h"

namespace zelta::app {

HRESULT TextSelection::GetPartCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(parts_.size());
  return S_OK;
}

HRESULT TextSelection::GetPart(int32_t index, IHostTextSelectionPart** part) {
  if (!part) return E_POINTER;
  *part = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= parts_.size()) return S_FALSE;
  return parts_[static_cast<size_t>(index)].CopyTo(part);
}

HRESULT TextSelection::FromArguments(IHostDocument* document,
                                     const std::vector<std::string>& arguments,
                                     ComPtr<TextSelection>* selection, std::string* error) {
  std::vector<ComPtr<IHostTextSelectionPart>> parts;
  for (const auto& argument : arguments) {
    int32_t page = 0;
    std::optional<PageBox> area;
    std::string why;
    ComPtr<TextSelectionPart> part;
    if (!TextSelectionPart::ParseArgument(argument, &page, &area, &why)) {
      if (error) *error = why;
      return E_INVALIDARG;
    }
    HRESULT hr = TextSelectionPart::Select(document, page, area, &part, &why);
    if (Failed(hr)) {
      if (error) *error = "\"" + argument + "\": " + why;
      return hr;
    }
    parts.emplace_back(part.Get());
  }
  *selection = MakeCom<TextSelection>(std::move(parts));
  return S_OK;
}

}  // namespace zelta::app
