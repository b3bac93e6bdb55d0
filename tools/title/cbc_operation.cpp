#include "tools/title/cbc_operation.h"

#include "framework/atom_table.h"
#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgChangeBookmarkCase";
constexpr std::u16string_view kProgressTitleId =
    u"bookmarksPlugin.progress.changingBookmarkCase.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.changingBookmarkCase.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.statusText.ProcessingBookmarks";

}  // namespace

CBCOperation::CBCOperation(PluginContext* plugin, const OperationRow& row)
    : TitleToolOperation(plugin, row) {}

HRESULT CBCOperation::ReadInputs() {
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  if (!listFromDialog_) bookmarks_.clear();
  HRESULT hr = ReadBookmarkListInput();
  if (zelta::Failed(hr)) return hr;
  if (bookmarks_.empty() && (optionFlags_ & kCbcSourceSelected)) {
    hr = CollectSelectedBookmarks(Selections(), Document(), bookmarks_, IncludeSubBookmarks());
    if (zelta::Failed(hr)) return hr;
    if (bookmarks_.empty()) return zelta::E_INVALIDARG;
  }
  return zelta::S_OK;
}

HRESULT CBCOperation::Run(int32_t flags, intptr_t) {
  // The excluded words are kept sorted and unique in the options as well.
  ComPtr<zelta::ICabItem> wordsItem = CabItem(Options().Get(), u"ExcludedWords");
  std::vector<std::u16string> words = SortExcludedWords(CabStrings(wordsItem.Get()));
  if (wordsItem && words != CabStrings(wordsItem.Get())) SetCabStrings(wordsItem.Get(), words);
  engine_ = std::make_unique<ChangeCaseEngine>(std::move(words), optionFlags_);

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  return RewriteListedTitles();
}

HRESULT CBCOperation::Rewrite(IHostBookmark*, std::u16string_view original, std::u16string* title) {
  HRESULT hr = engine_->Apply(*title);
  if (hr == zelta::E_OUTOFMEMORY) return hr;
  if (zelta::Failed(hr)) {
    MarkProblem();
    return zelta::S_FALSE;
  }
  // Only case changes happen here, so an exact comparison finds every real change.
  return *title == original ? zelta::S_FALSE : zelta::S_OK;
}

}  // namespace bm
