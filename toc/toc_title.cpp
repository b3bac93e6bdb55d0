#include "toc/toc_title.h"

namespace bm {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsNumberMark(char16_t c) {
  return c == u'.' || c == u',' || c == u'_' || c == u'/' || c == u'\\' || c == u'~';
}

}  // namespace

void TocTitle::TidySpaces(std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  bool blank = false;
  for (char16_t c : text) {
    if (IsBlank(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(u' ');
    blank = false;
    out.push_back(c);
  }
  text = std::move(out);
}

void TocTitle::RemovePrefixNumber(std::u16string& title) {
  size_t i = 0;
  bool digit = false, blankAfterDigit = false;
  for (; i < title.size(); ++i) {
    const char16_t c = title[i];
    if (blankAfterDigit && !IsBlank(c)) break;
    if (IsDigit(c))
      digit = true;
    else if (IsBlank(c))
      blankAfterDigit = blankAfterDigit || digit;
    else if (!IsNumberMark(c))
      break;
  }
  if (digit && i < title.size()) title.erase(0, i);
}

std::u16string TocTitle::Make(const std::vector<std::u16string>& pieces, int32_t flags) {
  std::u16string title;
  for (std::u16string piece : pieces) {
    if (flags & kFromTocTidySpaces) TidySpaces(piece);
    if (piece.empty()) continue;
    if (!title.empty()) title.push_back(u' ');
    title += piece;
  }
  if (flags & kFromTocRemoveNumbers) RemovePrefixNumber(title);
  return title;
}

}  // namespace bm
