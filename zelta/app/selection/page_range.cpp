#include "zelta/app/selection/page_range.h"

#include <algorithm>
#include <optional>

#include "host/cab.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A 1-based page number; none for anything but decimal digits or a number beyond int32.
std::optional<int64_t> Number(std::u16string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

std::string Quoted(std::u16string_view text) { return "\"" + base::LossyUtf8(text) + "\""; }

std::string Outside(int64_t number, int32_t pageCount) {
  return "page " + std::to_string(number) + " is outside the document (pages 1 to " +
         std::to_string(pageCount) + ")";
}

}  // namespace

PageRange PageRange::FromCab(ICabItem* item) {
  PageRange range;
  if (!item) return range;
  item->GetInt(u"Type", range.type, &range.type);
  item->GetInt(u"Filter", range.filter, &range.filter);
  item->GetBool(u"Reversed", range.reversed, &range.reversed);
  item->GetInt(u"Current", range.current, &range.current);
  OwnedString text;
  if (Succeeded(item->GetText(u"Text", u"", text.Put()))) range.text = text.Str();
  ComPtr<ICabItem> array;
  if (item->GetItem(u"Array", array.Put()) == S_OK && array) {
    int32_t count = 0;
    array->GetCount(&count);
    for (int32_t i = 0; i < count; ++i) {
      ComPtr<ICabItem> element;
      int32_t value = -1;
      if (array->GetItemAt(i, element.Put()) == S_OK && element)
        element->GetInt(nullptr, -1, &value);
      range.array.push_back(value);
    }
  }
  return range;
}

HRESULT PageRange::ParseText(std::u16string_view text, int32_t pageCount,
                             std::vector<int32_t>* pages, std::string* error) {
  auto fail = [&](std::string why) {
    if (error) *error = "page range " + Quoted(text) + ": " + why;
    return E_INVALIDARG;
  };
  std::u16string_view rest = text;
  while (true) {
    size_t comma = rest.find(u',');
    std::u16string_view item = Trim(rest.substr(0, comma));
    if (!item.empty()) {
      size_t dash = item.find(u'-');
      std::optional<int64_t> first;
      std::optional<int64_t> last;
      if (dash == std::u16string_view::npos) {
        first = last = Number(item);
      } else {
        std::u16string_view from = Trim(item.substr(0, dash));
        std::u16string_view to = Trim(item.substr(dash + 1));
        first = from.empty() ? std::optional<int64_t>(1) : Number(from);
        last = to.empty() ? std::optional<int64_t>(pageCount) : Number(to);
      }
      if (!first || !last) return fail(Quoted(item) + " is not a page number or range");
      for (int64_t n : {*first, *last})
        if (n < 1 || n > pageCount) return fail(Outside(n, pageCount));
      size_t span = static_cast<size_t>(std::abs(*last - *first)) + 1;
      if (pages->size() + span > kMaxPages)
        return fail("more than " + std::to_string(kMaxPages) + " pages");
      int64_t step = *first <= *last ? 1 : -1;
      for (int64_t n = *first;; n += step) {
        pages->push_back(static_cast<int32_t>(n - 1));
        if (n == *last) break;
      }
    }
    if (comma == std::u16string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return S_OK;
}

HRESULT PageRange::Select(int32_t pageCount, std::vector<int32_t>* pages,
                          std::string* error) const {
  pages->clear();
  auto fail = [&](std::string why) {
    pages->clear();
    if (error) *error = std::move(why);
    return E_INVALIDARG;
  };
  if (pageCount < 0) return fail("negative page count");
  if (filter < 1 || filter > 3) return fail("page range: unknown filter " + std::to_string(filter));
  switch (type) {
    case -1:
      for (int32_t i = 0; i < pageCount; ++i) pages->push_back(i);
      break;
    case 0:
      if (current < 0 || current >= pageCount)
        return fail("current " + Outside(int64_t{current} + 1, pageCount));
      pages->push_back(current);
      break;
    case 1: {
      HRESULT hr = ParseText(text, pageCount, pages, error);
      if (Failed(hr)) return fail(error ? *error : "");
      break;
    }
    case 2:
      if (array.size() > kMaxPages)
        return fail("page range: more than " + std::to_string(kMaxPages) + " pages");
      for (int32_t index : array) {
        if (index < 0 || index >= pageCount)
          return fail("page range: index " + std::to_string(index) + " (" +
                      Outside(int64_t{index} + 1, pageCount) + ")");
        pages->push_back(index);
      }
      break;
    default:
      return fail("page range: unknown type " + std::to_string(type));
  }
  if (filter != 1) {
    // Page numbers are 1-based: odd numbers are the even indexes.
    int32_t keep = filter == 2 ? 0 : 1;
    std::erase_if(*pages, [keep](int32_t index) { return index % 2 != keep; });
  }
  if (reversed) std::reverse(pages->begin(), pages->end());
  if (error) error->clear();
  return S_OK;
}

}  // namespace zelta::app
