#include "zelta/app/selection/text_search.h"

#include <algorithm>
#include <cwctype>

#include "host/search.h"

namespace zelta::app {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

char16_t TextSearch::Fold(char16_t c) const {
  if (flags_ & kSearchIgnoreCase) return static_cast<char16_t>(std::towlower(c));
  return c;
}

TextSearch::TextSearch(std::u16string_view text, int32_t flags) : flags_(flags) {
  for (char16_t c : text) {
    if ((flags_ & kSearchLooseBlanks) && IsBlank(c)) {
      if (!pattern_.empty() && pattern_.back() != u' ') pattern_.push_back(u' ');
      continue;
    }
    pattern_.push_back(Fold(c));
  }
  if ((flags_ & kSearchLooseBlanks) && !pattern_.empty() && pattern_.back() == u' ')
    pattern_.pop_back();
}

std::vector<PageBox> TextSearch::Find(const PageTextChar* chars, int32_t count) const {
  std::vector<PageBox> hits;
  if (pattern_.empty() || count <= 0) return hits;
  // The page as one string; with loose blanks every run of blanks and line breaks is one
  // space. `from` is the character each position of the string came from.
  std::u16string page;
  std::vector<int32_t> from;
  page.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const bool loose = flags_ & kSearchLooseBlanks;
    if (loose && IsBlank(chars[i].code)) {
      if (!page.empty() && page.back() != u' ') page.push_back(u' '), from.push_back(i);
      continue;
    }
    page.push_back(Fold(chars[i].code));
    from.push_back(i);
    if (loose && (chars[i].flags & (kCharLineEnd | kCharBlockEnd)))
      page.push_back(u' '), from.push_back(i);
  }
  for (size_t at = page.find(pattern_); at != std::u16string::npos;
       at = page.find(pattern_, at + pattern_.size())) {
    const int32_t first = from[at], last = from[at + pattern_.size() - 1];
    PageBox box{chars[first].left, chars[first].bottom, chars[first].right, chars[first].top};
    for (int32_t i = first + 1; i <= last; ++i) {
      if (IsBlank(chars[i].code)) continue;
      box.left = std::min(box.left, chars[i].left);
      box.bottom = std::min(box.bottom, chars[i].bottom);
      box.right = std::max(box.right, chars[i].right);
      box.top = std::max(box.top, chars[i].top);
    }
    hits.push_back(box);
  }
  return hits;
}

}  // namespace zelta::app
