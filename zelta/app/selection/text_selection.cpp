#include "zelta/app/selection/text_selection.h"

#include <charconv>

#include "zelta/app/selection/text_selection_part.h"

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

bool TextSelection::ParsePageList(std::string_view text, std::vector<int32_t>* pages,
                                  std::string* error) {
  auto number = [](std::string_view item, int32_t* value) {
    auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), *value);
    return ec == std::errc() && end == item.data() + item.size() && *value >= 1;
  };
  while (true) {
    size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    size_t dash = item.find('-');
    int32_t first = 0, last = 0;
    if (!number(item.substr(0, dash), &first) ||
        !number(dash == std::string_view::npos ? item : item.substr(dash + 1), &last) ||
        last < first) {
      *error = "\"" + std::string(item) + "\": pages are N or N-M (1-based, N <= M)";
      return false;
    }
    for (int32_t page = first; page <= last; ++page) {
      // Bounded by the pages checked after parsing: a range past the document fails there.
      if (pages->size() > kMaxListedPages) {
        *error = "\"" + std::string(item) + "\": more than " + std::to_string(kMaxListedPages) +
                 " pages";
        return false;
      }
      pages->push_back(page - 1);
    }
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

HRESULT TextSelection::FromArguments(IHostDocument* document,
                                     const std::vector<std::string>& arguments,
                                     ComPtr<TextSelection>* selection, std::string* error) {
  std::vector<ComPtr<IHostTextSelectionPart>> parts;
  for (const auto& argument : arguments) {
    std::vector<int32_t> pages;
    std::optional<PageBox> area;
    std::string why;
    if (argument.find(':') == std::string::npos &&
        argument.find_first_of(",-") != std::string::npos) {
      if (!ParsePageList(argument, &pages, &why)) {
        if (error) *error = why;
        return E_INVALIDARG;
      }
    } else {
      int32_t page = 0;
      if (!TextSelectionPart::ParseArgument(argument, &page, &area, &why)) {
        if (error) *error = why;
        return E_INVALIDARG;
      }
      pages.push_back(page);
    }
    for (int32_t page : pages) {
      ComPtr<TextSelectionPart> part;
      HRESULT hr = TextSelectionPart::Select(document, page, area, &part, &why);
      if (Failed(hr)) {
        if (error) *error = "\"" + argument + "\": " + why;
        return hr;
      }
      parts.emplace_back(part.Get());
    }
  }
  *selection = MakeCom<TextSelection>(std::move(parts));
  return S_OK;
}

}  // namespace zelta::app
