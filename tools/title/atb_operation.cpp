#include "tools/title/atb_operation.h"

#include <algorithm>
#include <new>

#include "framework/atom_table.h"
#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "tools/title/collapse_blanks.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgAddTextToBookmark";
constexpr std::u16string_view kProgressTitleId =
    u"bookmarksPlugin.progress.addTextToBookmarkTitle.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.addTextToBookmarkTitle.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.statusText.ProcessingBookmarks";

}  // namespace

ATBOperation::ATBOperation(PluginContext* plugin, const OperationRow& row)
    : TitleToolOperation(plugin, row) {}

ATBOperation::~ATBOperation() = default;

HRESULT ATBOperation::ReadInputs() {
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  if (!listFromDialog_) bookmarks_.clear();
  HRESULT hr = ReadBookmarkListInput();
  if (zelta::Failed(hr)) return hr;
  if (!SourceSelected()) {
    bookmarks_.clear();
    return zelta::S_OK;
  }
  // An empty selection leaves the list empty; the run then reports that nothing was done.
  if (bookmarks_.empty())
    return CollectSelectedBookmarks(Selections(), Document(), bookmarks_, IncludeSubLevels());
  return zelta::S_OK;
}

HRESULT ATBOperation::Run(int32_t flags, intptr_t) {
  // Level 1 is the top level; a lower value would make the level rule select nothing.
  startLevel_ = std::max(1, CabInt(Options().Get(), u"StartLevel", 1));
  prefix_ = CabText(Options().Get(), u"Prefix", u"");
  suffix_ = CabText(Options().Get(), u"Suffix", u"");

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  if (!expander_) expander_ = std::make_unique<TitleMacroExpander>(App(), Document());
  expander_->Reset();
  prefixTemplate_ = TitleTemplate();
  suffixTemplate_ = TitleTemplate();
  for (TitleTemplate* part : {&prefixTemplate_, &suffixTemplate_}) {
    hr = expander_->RegisterMacros(*part, kAllMacros);
    if (zelta::Failed(hr)) return FinishRun(hr, {});
  }
  hr = expander_->ParseTemplate(prefixTemplate_, prefix_);
  if (zelta::Succeeded(hr)) hr = expander_->ParseTemplate(suffixTemplate_, suffix_);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  if (const std::u16string warning = expander_->TakeUnknownMacroWarning(); !warning.empty())
    ReportWarning(warning);
  expander_->LoadDocumentValues();

  // Nothing to add: nothing to do, even when the spaces were to be tidied.
  if (prefix_.empty() && suffix_.empty()) return FinishRun(zelta::S_OK, {});
  if (SourceSelected() && bookmarks_.empty()) return FinishRun(zelta::S_OK, {});

  ComPtr<IHostBookmark> root;
  uint32_t total = 0;
  if (!SourceSelected()) {
    if (Document()->GetOutlineRoot(root.Put()) != zelta::S_OK || !root)
      return FinishRun(zelta::E_FAIL, {});
    total = (optionFlags_ & kAtbOneLevel)
                ? CountBookmarks(root.Get(), startLevel_, 0, IncludeSubLevels())
                : CountBookmarks(root.Get(), -1, 0, true);
  } else if (!IncludeSubLevels()) {
    total = static_cast<uint32_t>(bookmarks_.size());
  } else {
    for (const auto& bookmark : bookmarks_)
      total += 1 + CountBookmarks(bookmark.Get(), -1, 0, true);
  }
  return RewriteTitles(total, [&](const Offer& offer) -> HRESULT {
    if (root) {
      const bool oneLevel = optionFlags_ & kAtbOneLevel;
      return WalkBookmarks(
          root.Get(), 0, false, [&](IHostBookmark* bookmark, int32_t level) -> HRESULT {
            if (!oneLevel || level >= startLevel_) {
              HRESULT offered = offer(bookmark);
              if (zelta::Failed(offered)) return offered;
            }
            // With one level chosen and no sub-levels the walk does not go below that level.
            return (oneLevel && !IncludeSubLevels() && level >= startLevel_) ? zelta::S_FALSE
                                                                             : zelta::S_OK;
          });
    }
    auto visit = [&](IHostBookmark* bookmark, int32_t) { return offer(bookmark); };
    for (const auto& bookmark : bookmarks_) {
      HRESULT hr = IncludeSubLevels() ? WalkBookmarks(bookmark.Get(), 1, true, visit)
                                      : offer(bookmark.Get());
      if (zelta::Failed(hr)) return hr;
    }
    return zelta::S_OK;
  });
}

HRESULT ATBOperation::NewTitle(IHostBookmark* bookmark, std::u16string& title) {
  if (optionFlags_ & kAtbRemoveSpaces) title = RemoveExcessiveSpaces(title);
  if (prefixTemplate_.HasMacros() || suffixTemplate_.HasMacros()) {
    HRESULT hr = expander_->SetBookmark(bookmark);
    if (zelta::Failed(hr)) return hr;
  }
  // A template without macros goes in exactly as it was entered.
  if (!prefix_.empty()) {
    std::u16string text = prefix_;
    if (prefixTemplate_.HasMacros()) {
      HRESULT hr = prefixTemplate_.Render(text);
      if (zelta::Failed(hr)) return hr;
    }
    title.insert(0, text);
  }
  if (!suffix_.empty()) {
    std::u16string text = suffix_;
    if (suffixTemplate_.HasMacros()) {
      HRESULT hr = suffixTemplate_.Render(text);
      if (zelta::Failed(hr)) return hr;
    }
    title += text;
  }
  return zelta::S_OK;
}

HRESULT ATBOperation::Rewrite(IHostBookmark* bookmark, std::u16string_view original,
                              std::u16string* title) {
  HRESULT hr = NewTitle(bookmark, *title);
  if (zelta::Failed(hr)) return hr;
  // Exact comparison: a title that differs in any code unit is a change to keep.
  return *title == original ? zelta::S_FALSE : zelta::S_OK;
}

}  // namespace bm
