#include "zelta/pdf/text/page_text.h"

#include <algorithm>
#include <string>

namespace zelta::pdf {

HRESULT PageText::GetPageIndex(int32_t* page) {
  if (!page) return E_POINTER;
  *page = data_->page;
  return S_OK;
}

HRESULT PageText::GetCharCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = Count();
  return S_OK;
}

HRESULT PageText::GetChars(const PageTextChar** chars, int32_t* count) {
  if (!chars || !count) return E_POINTER;
  *count = Count();
  *chars = *count ? data_->chars.data() : nullptr;
  return S_OK;
}

HRESULT PageText::GetChar(int32_t index, PageTextChar* ch) {
  if (!ch) return E_POINTER;
  if (index < 0 || index >= Count()) return E_INVALIDARG;
  *ch = data_->chars[static_cast<size_t>(index)];
  return S_OK;
}

HRESULT PageText::GetText(int32_t start, int32_t length, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (start < 0 || length < 0) return E_INVALIDARG;
  start = std::min(start, Count());
  int32_t end = static_cast<int32_t>(std::min<int64_t>(int64_t{start} + length, Count()));
  std::u16string codes;
  codes.reserve(static_cast<size_t>(end - start));
  for (int32_t i = start; i < end; ++i) codes.push_back(data_->chars[static_cast<size_t>(i)].code);
  return ReturnString(codes, text);
}

HRESULT PageText::GetLineCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(data_->lineStarts.size());
  return S_OK;
}

HRESULT PageText::GetLine(int32_t line, BString* text, int32_t* first) {
  if (!text) return E_POINTER;
  *text = nullptr;
  const auto& starts = data_->lineStarts;
  if (line < 0 || static_cast<size_t>(line) >= starts.size()) return E_INVALIDARG;
  int32_t begin = starts[static_cast<size_t>(line)];
  int32_t end = static_cast<size_t>(line) + 1 < starts.size()
                    ? starts[static_cast<size_t>(line) + 1]
                    : Count();
  if (first) *first = begin;
  return GetText(begin, end - begin, text);
}

}  // namespace zelta::pdf
