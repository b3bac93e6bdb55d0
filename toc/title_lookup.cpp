#include "toc/title_lookup.h"

#include <algorithm>
#include <cwctype>

namespace bm {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
char16_t Fold(char16_t c) { return static_cast<char16_t>(std::towlower(c)); }

}  // namespace

TitleLookup::TitleLookup(const zelta::PageTextChar* chars, int32_t count) : chars_(chars) {
  page_.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int32_t i = 0; i < count; ++i) {
    if (IsBlank(chars[i].code)) {
      if (!page_.empty() && page_.back() != u' ') page_.push_back(u' '), from_.push_back(i);
      continue;
    }
    page_.push_back(Fold(chars[i].code));
    from_.push_back(i);
    if ((chars[i].flags & (zelta::kCharLineEnd | zelta::kCharBlockEnd)))
      page_.push_back(u' '), from_.push_back(i);
  }
  for (size_t at = 0; at + 1 < page_.size(); ++at)
    pairs_[Pair(page_[at], page_[at + 1])].push_back(static_cast<uint32_t>(at));
}

std::optional<zelta::PageBox> TitleLookup::Find(std::u16string_view title) const {
  std::u16string pattern;
  pattern.reserve(title.size());
  for (char16_t c : title) {
    if (IsBlank(c)) {
      if (!pattern.empty() && pattern.back() != u' ') pattern.push_back(u' ');
      continue;
    }
    pattern.push_back(Fold(c));
  }
  if (!pattern.empty() && pattern.back() == u' ') pattern.pop_back();
  if (pattern.empty() || pattern.size() > page_.size()) return std::nullopt;
  size_t at = std::u16string::npos;
  if (pattern.size() == 1) {
    at = page_.find(pattern);
  } else if (auto found = pairs_.find(Pair(pattern[0], pattern[1])); found != pairs_.end()) {
    const std::u16string_view page(page_);
    for (uint32_t start : found->second)
      if (page.substr(start, pattern.size()) == pattern) {
        at = start;
        break;
      }
  }
  if (at == std::u16string::npos) return std::nullopt;
  const int32_t first = from_[at], last = from_[at + pattern.size() - 1];
  const zelta::PageTextChar& c = chars_[first];
  zelta::PageBox box{c.left, c.bottom, c.right, c.top};
  for (int32_t i = first + 1; i <= last; ++i) {
    if (IsBlank(chars_[i].code)) continue;
    box.left = std::min(box.left, chars_[i].left);
    box.bottom = std::min(box.bottom, chars_[i].bottom);
    box.right = std::max(box.right, chars_[i].right);
    box.top = std::max(box.top, chars_[i].top);
  }
  return box;
}

}  // namespace bm
