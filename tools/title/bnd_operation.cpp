#include "tools/title/bnd_operation.h"

#include <new>

#include "framework/atom_table.h"
#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "tools/title/bnd_name_mask.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgBookmarksToNamedDests";
constexpr std::u16string_view kProgressTitleId =
    u"bookmarksPlugin.progress.bookmarksToNamedDests.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.bookmarksToNamedDests.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.statusText.ProcessingBookmarks";

}  // namespace

BNDOperation::BNDOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkListOperation(plugin, row) {}

BNDOperation::~BNDOperation() = default;

HRESULT BNDOperation::ReadInputs() {
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  if (!listFromDialog_) bookmarks_.clear();
  HRESULT hr = ReadBookmarkListInput();
  if (zelta::Failed(hr)) return hr;
  if (!(optionFlags_ & kBndSourceSelected)) {
    bookmarks_.clear();
  } else if (bookmarks_.empty()) {
    hr = CollectSelectedBookmarks(Selections(), Document(), bookmarks_, IncludeSubBookmarks());
    if (zelta::Failed(hr)) return hr;
    if (bookmarks_.empty()) return zelta::E_INVALIDARG;
  }
  return zelta::S_OK;
}

HRESULT BNDOperation::Run(int32_t flags, intptr_t) {
  converted_.clear();
  undo_.Reset();
  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  mask_ = std::make_unique<BndNameMask>(App(), Document(),
                                        CabText(Options().Get(), u"EditText", u"%[Title]"));
  hr = mask_->Prepare();
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  if (const std::u16string warning = mask_->TakeUnknownMacroWarning(); !warning.empty())
    ReportWarning(warning);

  ComPtr<IHostBookmark> root;
  uint32_t total = 0;
  hr = CountListed(&root, &total);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  if (total == 0) return FinishRun(zelta::S_OK, {});
  undo_ = zelta::MakeCom<NamedDestUndo>(Document());
  hr = undo_->Reserve(total);
  if (zelta::Succeeded(hr)) hr = names_.Load(Document());
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  StartProgress(total);

  hr = VisitListed(root.Get(), [&](IHostBookmark* bookmark) { return Convert(bookmark); });

  if (zelta::Succeeded(hr) && !NothingChanged() && ChangeGroup())
    hr = ChangeGroup()->AddItem(undo_.Get());
  if (zelta::Failed(hr)) {
    // Cancelled or failed: every conversion made so far is taken back with its name.
    undo_->Undo();
    return FinishRun(hr, {});
  }
  return FinishRun(zelta::S_OK, converted_);
}

HRESULT BNDOperation::Convert(IHostBookmark* bookmark) {
  ComPtr<zelta::IHostActionList> actions;
  int32_t count = 0;
  if (bookmark->GetActions(actions.Put()) != zelta::S_OK || !actions ||
      zelta::Failed(actions->GetCount(&count)))
    return zelta::S_OK;
  // The last "GoTo" action is the one converted; a bookmark without one is not counted.
  ComPtr<zelta::IHostAction> action;
  int32_t index = count - 1;
  for (; index >= 0; --index) {
    int32_t type = zelta::kActionOther;
    if (actions->GetItem(index, action.Put()) == zelta::S_OK && action &&
        zelta::Succeeded(action->GetType(&type)) && type == zelta::kActionGoTo)
      break;
  }
  if (index < 0) return zelta::S_OK;

  zelta::OwnedString title;
  bookmark->GetTitle(title.Put());
  HRESULT hr = StepProgress(title.View());
  if (zelta::Failed(hr)) return hr;
  hr = ConvertAction(bookmark, actions.Get(), action.Get(), index);
  if (hr == zelta::E_CANCELLED) return hr;
  if (zelta::Failed(hr)) MarkProblem();
  return zelta::S_OK;
}

HRESULT BNDOperation::ConvertAction(IHostBookmark* bookmark, zelta::IHostActionList* actions,
                                    zelta::IHostAction* action, int32_t index) {
  bool named = false;
  HRESULT hr = action->IsDestinationNamed(&named);
  if (zelta::Failed(hr)) return hr;
  if (named) return zelta::S_FALSE;
  zelta::PageDestination destination;
  if (action->GetExplicitDestination(&destination) != zelta::S_OK || destination.page < 0)
    return zelta::E_FAIL;

  std::u16string name;
  std::u16string wanted;
  hr = mask_->NameFor(bookmark, wanted);
  if (zelta::Failed(hr)) return hr;
  // An empty name cannot be written; the bookmark stays as it is.
  if (wanted.empty()) return zelta::E_INVALIDARG;
  name = names_.Make(wanted);
  const auto length = static_cast<int32_t>(name.size());
  hr = Document()->AddNamedDest(name.c_str(), length, &destination);
  if (zelta::Failed(hr)) return hr;
  hr = action->SetDestinationName(name.c_str(), length);
  if (zelta::Succeeded(hr)) hr = bookmark->SetActions(actions);
  if (zelta::Succeeded(hr)) hr = undo_->Add(bookmark, index, destination, name);
  if (zelta::Succeeded(hr)) converted_.push_back(bookmark);
  if (zelta::Failed(hr)) {
    // Not recorded: undo it here (the bookmark may or may not have taken the name).
    action->SetDestination(&destination);
    bookmark->SetActions(actions);
    Document()->RemoveNamedDest(name.c_str(), length);
    return hr;
  }
  names_.Add(name);
  MarkChanged();
  return zelta::S_OK;
}

}  // namespace bm
