#include "tools/title/frt_operation.h"

#include <algorithm>
#include <memory>

#include "framework/atom_table.h"
#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "support/title_limit.h"
#include "tools/title/literal_replace.h"
#include "tools/title/regex_error_text.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgFindReplaceBookmarkText";
constexpr std::u16string_view kProgressTitleId =
    u"bookmarksPlugin.progress.findReplaceBookmarkText.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.findReplaceBookmarkText.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.statusText.ProcessingBookmarks";

std::u16string FirstOf(const std::vector<std::u16string>& texts) {
  return texts.empty() ? u"" : texts.front();
}

// A text short enough for a message: its first 80 units, then an ellipsis.
std::u16string Excerpt(std::u16string_view text) {
  constexpr size_t kLength = 80;
  if (text.size() <= kLength) return std::u16string(text);
  size_t cut = kLength;
  if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;  // not half a surrogate pair
  return std::u16string(text.substr(0, cut)) + u"\u2026";
}

}  // namespace

void PushHistory(std::vector<std::u16string>& history, const std::u16string& text) {
  for (size_t i = 0; i < history.size(); ++i) {
    if (history[i] != text) continue;
    std::rotate(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(i),
                history.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    return;
  }
  if (history.size() >= kFrtHistorySize) history.resize(kFrtHistorySize - 1);
  history.insert(history.begin(), text);
}

std::optional<int> CheckFindPattern(std::u16string_view pattern, bool matchCase) {
  if (pattern.empty()) return std::nullopt;
  BoundedRegex regex;
  return regex.Compile(pattern, !matchCase);
}

FRTOperation::FRTOperation(PluginContext* plugin, const OperationRow& row)
    : TitleToolOperation(plugin, row) {}

HRESULT FRTOperation::ReadInputs() {
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  if (!listFromDialog_) bookmarks_.clear();
  HRESULT hr = ReadBookmarkListInput();
  if (zelta::Failed(hr)) return hr;
  if (!SourceSelected()) {
    // The whole outline, whatever the input held besides the document.
    bookmarks_.clear();
    return zelta::S_OK;
  }
  if (bookmarks_.empty()) {
    hr = CollectSelectedBookmarks(Selections(), Document(), bookmarks_, IncludeSubBookmarks());
    if (zelta::Failed(hr)) return hr;
    if (bookmarks_.empty()) return zelta::E_INVALIDARG;
  }
  return zelta::S_OK;
}

HRESULT FRTOperation::FailOnPattern(int code, std::u16string_view where) {
  patternError_ = code;
  ReportFailureDetail(std::u16string(where) + u": " + RegexErrorText(App(), code));
  return code == std::regex_constants::error_space ? zelta::E_OUTOFMEMORY : zelta::E_INVALIDARG;
}

HRESULT FRTOperation::Run(int32_t flags, intptr_t) {
  patternError_.reset();
  find_ = FirstOf(CabStrings(CabItem(Options().Get(), u"FindWords").Get()));
  replacement_ = FirstOf(CabStrings(CabItem(Options().Get(), u"ReplaceWords").Get()));
  if (optionFlags_ & kFrtRegex) {
    // Compiled once, before any title changes: a pattern that does not compile changes nothing.
    if (auto error = regex_.Compile(find_, !(optionFlags_ & kFrtMatchCase)))
      return FailOnPattern(*error, u"FindWords \"" + Excerpt(find_) + u"\"");
  }

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  return RewriteListedTitles();
}

HRESULT FRTOperation::Rewrite(IHostBookmark*, std::u16string_view original, std::u16string* title) {
  if (optionFlags_ & kFrtRegex) {
    int error = 0;
    const BoundedRegex::Outcome outcome =
        regex_.Replace(*title, replacement_, &error, kMaxTitleLength);
    if (outcome == BoundedRegex::Outcome::kTooLong) return FailOnLongTitle(original);
    // A title the pattern cannot be matched against within bounds ends the whole run.
    if (outcome == BoundedRegex::Outcome::kFailed)
      return FailOnPattern(error, u"the title \"" + Excerpt(original) + u"\"");
    return outcome == BoundedRegex::Outcome::kUnchanged ? zelta::S_FALSE : zelta::S_OK;
  }
  const ReplaceOutcome outcome =
      LiteralReplace(*title, find_, replacement_, optionFlags_ & kFrtMatchCase,
                     optionFlags_ & kFrtWholeWord, kMaxTitleLength);
  if (outcome == ReplaceOutcome::kTooLong) return FailOnLongTitle(original);
  if (outcome == ReplaceOutcome::kFailed) MarkProblem();
  return outcome == ReplaceOutcome::kChanged ? zelta::S_OK : zelta::S_FALSE;
}

}  // namespace bm
