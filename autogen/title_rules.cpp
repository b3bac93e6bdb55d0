#include "autogen/title_rules.h"

#include "autogen/title_formatter.h"
#include "framework/host_strings.h"
#include "platform/locale_text.h"
#include "support/title_limit.h"

namespace bm {

using zelta::HRESULT;

namespace {

// The message for a pattern the bounded matcher gave up on, naming where it came from.
std::u16string PatternFailure(std::u16string_view what, size_t titleLength) {
  return std::u16string(what) + u" needs more matching work than allowed on a title of " +
         NumberText(titleLength) +
         u" characters (a simpler pattern, without back-references, avoids this)";
}

std::u16string Quoted(std::u16string_view pattern) {
  return u"\"" + std::u16string(pattern.substr(0, 200)) + u"\"";
}

std::u16string LevelName(size_t position) { return u"level " + NumberText(position) + u": "; }

}  // namespace

bool PassesCaseRule(std::u16string_view title, int32_t rule) {
  if (title.empty()) return false;
  switch (rule) {
    case kTextCaseAny:
      return true;
    case kTextCaseAllCapital:
      for (char16_t c : title)
        if (platform::IsLower(c)) return false;
      return true;
    case kTextCaseFirstCapital:
      return platform::IsUpper(title[0]);
    default:
      return platform::IsAlphaNumeric(title[0]) && !platform::IsAlpha(title[0]);
  }
}

HRESULT TitleRules::ApplyPattern(size_t position, std::u16string& title, size_t* final) {
  // Fallbacks always lie deeper in the chain, so this walk ends.
  for (;;) {
    LevelNode& node = chain_.Node(position);
    if (!node.options.Uses(kLevelMatchPattern)) {
      *final = position;
      return zelta::S_OK;
    }
    size_t start = 0, length = 0;
    HRESULT hr = node.pattern.Search(title, &start, &length);
    // A title beyond what the matcher may safely take counts as not matching.
    if (hr == zelta::E_INVALIDARG) hr = zelta::S_FALSE;
    if (hr == zelta::E_FAIL)
      error_ = PatternFailure(
          LevelName(position) + u"text pattern " + Quoted(node.options.description.textPattern),
          title.size());
    if (zelta::Failed(hr)) return hr;
    if (hr == zelta::S_OK) {
      if (node.options.Uses(kLevelLimitToPattern)) title = title.substr(start, length);
      *final = position;
      return zelta::S_OK;
    }
    if (node.fallback <= static_cast<int>(position)) return zelta::S_FALSE;
    position = static_cast<size_t>(node.fallback);
  }
}

HRESULT TitleRules::Accept(std::u16string& title, size_t* position) {
  if (title.empty() || *position == 0 || *position >= chain_.Size()) return zelta::S_FALSE;
  if (flags_ & kAgbStopWords) {
    HRESULT hr = stopWords_.Occurs(title);
    if (hr == zelta::E_INVALIDARG) hr = zelta::S_FALSE;  // beyond the matcher's bound
    if (hr == zelta::E_FAIL) error_ = PatternFailure(u"a stop-word pattern", title.size());
    if (zelta::Failed(hr)) return hr;
    if (hr == zelta::S_OK) return zelta::S_FALSE;
  }
  if (!PassesCaseRule(title, chain_.Node(*position).options.description.matchTextCase))
    return zelta::S_FALSE;
  size_t level = *position;
  HRESULT hr = ApplyPattern(*position, title, &level);
  if (hr != zelta::S_OK) return hr;
  const std::u16string original = title;
  hr = FormatTitle(chain_, level, title);
  if (hr == kTitleTooLong) error_ = LevelName(level) + TitleTooLongText(original);
  if (hr == zelta::E_FAIL)
    error_ = PatternFailure(LevelName(level) + u"search pattern " +
                                Quoted(chain_.Node(level).options.format.searchPattern),
                            original.size());
  if (hr != zelta::S_OK) return hr;
  if ((flags_ & kAgbIgnoreDuplicates) && !lastTitle_.empty() &&
      platform::CompareText(title, lastTitle_, false) == 0)
    return zelta::S_FALSE;
  *position = level;
  return zelta::S_OK;
}

}  // namespace bm
