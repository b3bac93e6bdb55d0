#include "tools/title/cbc_operation.h"

#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "plugin/atom_table.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgChangeBookmarkCase";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.changingBookmarkCase.title";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.changingBookmarkCase.text";
constexpr std::u16string_view kProgressStatusId = u"bookmarksPlugin.progress.statusText.ProcessingBookmarks";

}  // namespace

struct CBCOperation::RunState {
  const ChangeCaseEngine& engine;
  TitleChangeUndo& undo;
  std::vector<zelta::IUnknown*> changed;  // kept alive by the undo record
};

CBCOperation::CBCOperation(PluginObject* plugin) : BookmarkListOperation(plugin) { CreateParams(); }

zelta::Atom CBCOperation::OperationAtom() const { return AtomOf(u"op.bookmarks.changeBookmarkCase"); }

HRESULT CBCOperation::ReadInputs() {
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  if (!listFromDialog_) bookmarks_.clear();
  HRESULT hr = ReadBookmarkListInput();
  if (zelta::Failed(hr)) return hr;
  if (bookmarks_.empty() && (optionFlags_ & kCbcSourceSelected)) {
    hr = CollectSelectedBookmarks(Document(), bookmarks_, IncludeSubBookmarks());
    if (zelta::Failed(hr)) return hr;
    if (bookmarks_.empty()) return zelta::E_INVALIDARG;
  }
  return zelta::S_OK;
}

HRESULT CBCOperation::Do(int32_t flags, intptr_t) {
  ComPtr<CBCOperation> self(this);
  BeginRun();
  HRESULT hr = ReadInputs();
  if (zelta::Failed(hr)) return hr;
  hr = CheckPermission();
  if (zelta::Failed(hr)) return hr;

  // The excluded words are kept sorted and unique in the options as well.
  ComPtr<zelta::ICabItem> wordsItem = CabItem(Options().Get(), u"ExcludedWords");
  std::vector<std::u16string> words = SortExcludedWords(CabStrings(wordsItem.Get()));
  if (wordsItem && words != CabStrings(wordsItem.Get())) SetCabStrings(wordsItem.Get(), words);
  const ChangeCaseEngine engine(std::move(words), optionFlags_);

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  ComPtr<IHostBookmark> root;
  uint32_t total = 0;
  hr = CountListed(&root, &total);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  if (total == 0) return FinishRun(zelta::S_OK, {});
  StartProgress(total);

  auto undo = zelta::MakeCom<TitleChangeUndo>();
  hr = undo->Reserve(total);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  RunState run{engine, *undo, {}};
  hr = VisitListed(root.Get(), [&](IHostBookmark* bookmark) { return Process(bookmark, run); });

  if (zelta::Failed(hr)) {
    // Cancelled or failed: every title changed so far gets its old title back.
    undo->Undo();
    return FinishRun(hr, {});
  }
  if (!NothingChanged() && ChangeGroup()) {
    hr = ChangeGroup()->AddItem(undo.Get());
    if (zelta::Failed(hr)) {
      undo->Undo();
      return FinishRun(hr, {});
    }
  }
  return FinishRun(zelta::S_OK, run.changed);
}

HRESULT CBCOperation::Process(IHostBookmark* bookmark, RunState& run) {
  zelta::OwnedString title;
  if (zelta::Failed(bookmark->GetTitle(title.Put()))) {
    MarkProblem();
    return zelta::S_OK;
  }
  HRESULT hr = StepProgress(title.View());
  if (zelta::Failed(hr)) return hr;

  std::u16string newTitle = title.Str();
  hr = run.engine.Apply(newTitle);
  if (hr == zelta::E_OUTOFMEMORY) return hr;
  if (zelta::Failed(hr)) {
    MarkProblem();
    return zelta::S_OK;
  }
  // Only case changes happen here, so an exact comparison finds every real change.
  if (newTitle == title.View()) return zelta::S_OK;

  hr = run.undo.Add(bookmark, title.Str(), newTitle);
  if (zelta::Failed(hr)) return hr;
  if (zelta::Failed(bookmark->SetTitle(newTitle.c_str(), static_cast<int32_t>(newTitle.size())))) {
    MarkProblem();
    return zelta::S_OK;
  }
  MarkChanged();
  try {
    run.changed.push_back(bookmark);
  } catch (const std::bad_alloc&) {
    return zelta::E_OUTOFMEMORY;
  }
  return zelta::S_OK;
}

}  // namespace bm
