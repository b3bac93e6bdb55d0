#include "autogen/title_formatter.h"

#include "autogen/number_style.h"
#include "platform/locale_text.h"
#include "support/title_limit.h"

namespace bm {

using zelta::HRESULT;

namespace {

bool IsNumberPart(char16_t c) {
  return IsBlank(c) || c == 0x21 || (c >= 0x23 && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

void UpperOne(std::u16string& text, size_t at) { platform::UpperCaseInPlace(text.data() + at, 1); }

// Adds the hierarchical number of the level at `position` in front of title; returns the
// length of what was added.
size_t AddNumbers(LevelChain& chain, size_t position, std::u16string& title) {
  for (size_t i = position + 1; i < chain.Size(); ++i) chain.Node(i).counter = 0;
  LevelNode& own = chain.Node(position);
  ++own.counter;
  std::u16string prefix;
  int32_t below = own.options.index + 1;
  for (size_t i = position; i >= 1; --i) {
    LevelNode& node = chain.Node(i);
    // Only levels above the one numbered last contribute (levels may share an Index).
    if (node.options.index >= below) continue;
    below = node.options.index;
    if (node.options.format.leadingNum != kLeadingAdd) continue;
    if (node.counter < 1) node.counter = 1;
    std::u16string piece = FormatNumber(node.counter, node.options.format.numType) + u".";
    if (i == position) piece += u" ";
    prefix.insert(0, piece);
  }
  title.insert(0, prefix);
  return prefix.size();
}

void ApplyCase(int32_t textCase, size_t start, std::u16string& title) {
  switch (textCase) {
    case kCaseSentence: {
      size_t i = start;
      while (i < title.size() && IsBlank(title[i])) ++i;
      if (i >= title.size()) return;
      UpperOne(title, i);
      if (i + 1 < title.size())
        platform::LowerCaseInPlace(title.data() + i + 1, title.size() - i - 1);
      return;
    }
    case kCaseUpper:
      platform::UpperCaseInPlace(title.data(), title.size());
      return;
    case kCaseLower:
      platform::LowerCaseInPlace(title.data(), title.size());
      return;
    case kCaseTitle:
      for (size_t i = start; i < title.size(); ++i)
        if (i == start || IsBlank(title[i - 1])) UpperOne(title, i);
      return;
    default:
      return;
  }
}

}  // namespace

std::u16string CollapseBlanks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsBlank(text[i])) {
      out.push_back(text[i]);
      continue;
    }
    out.push_back(u' ');
    while (i + 1 < text.size() && IsBlank(text[i + 1])) ++i;
  }
  return out;
}

std::u16string RemoveLeadingNumbers(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsNumberPart(text[i])) ++i;
  return std::u16string(text.substr(i));
}

HRESULT FormatTitle(LevelChain& chain, size_t position, std::u16string& title) {
  if (position == 0 || position >= chain.Size()) return zelta::S_FALSE;
  LevelNode& node = chain.Node(position);
  const TitleFormat& format = node.options.format;
  if (format.flags & kFormatReplace) {
    std::u16string replaced;
    HRESULT hr = node.search.ReplaceAll(title, format.replacePattern, &replaced, kMaxTitleLength);
    // A title over the subject bound is dropped; a match the matcher gave up on ends the run.
    if (hr == zelta::E_INVALIDARG) return zelta::S_FALSE;
    if (zelta::Failed(hr)) return hr;
    if (hr == zelta::S_FALSE) return kTitleTooLong;
    title = std::move(replaced);
  }
  if (format.flags & kFormatCollapseBlanks) {
    if (title.empty()) return zelta::S_FALSE;
    title = CollapseBlanks(title);
  }
  size_t numbered = 0;
  if (format.leadingNum == kLeadingAdd)
    numbered = AddNumbers(chain, position, title);
  else if (format.leadingNum != kLeadingKeep)
    title = RemoveLeadingNumbers(title);
  if ((format.textCase == kCaseUpper || format.textCase == kCaseLower) && title.empty())
    return zelta::S_FALSE;
  ApplyCase(format.textCase, numbered, title);
  title.insert(0, format.prefix);
  title += format.suffix;
  const size_t limit = format.titleLength < 0 ? 0 : static_cast<size_t>(format.titleLength);
  if (title.size() > limit) title.resize(limit);
  if (title.size() > kMaxTitleLength) return kTitleTooLong;
  return title.empty() ? zelta::S_FALSE : zelta::S_OK;
}

}  // namespace bm
