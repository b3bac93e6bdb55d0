#include "tools/tree/sb_operation.h"

#include <new>
#include <numeric>

#include "framework/atom_table.h"
#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "tools/tree/sort_order.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgSortBookmarks";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.sortingBookmarks.title";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.sortingBookmarks";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.sortingBookmarks.status";
constexpr std::u16string_view kDeleteId = u"op.bookmarks.delete";
constexpr std::u16string_view kAddNewId = u"op.bookmarks.addNew.simple";

using Children = std::vector<ComPtr<IHostBookmark>>;

Children ChildrenOf(IHostBookmark* parent) {
  Children children;
  ComPtr<IHostBookmark> child;
  if (parent->GetFirstChild(child.Put()) != zelta::S_OK) return children;
  while (child) {
    children.push_back(child);
    ComPtr<IHostBookmark> next;
    if (child->GetNextSibling(next.Put()) != zelta::S_OK) break;
    child = next;
  }
  return children;
}

std::u16string TitleOf(IHostBookmark* bookmark) {
  zelta::OwnedString title;
  bookmark->GetTitle(title.Put());
  return title.Str();
}

}  // namespace

SBOperation::SBOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT SBOperation::LoadLastUsedOptions() {
  HRESULT hr = BookmarkOperation::LoadLastUsedOptions();
  auto options = Options();
  if (options && !(CabInt(options.Get(), u"Flags", 0) & kSbOneLevel)) options->SetInt(u"Level", -1);
  return hr;
}

bool SBOperation::SortsGroupAt(int32_t depth) const {
  if (level_ <= 0) return true;
  return (optionFlags_ & kSbWithLevelsBelow) ? depth + 1 >= level_ : depth + 1 == level_;
}

HRESULT SBOperation::Run(int32_t flags, intptr_t) {
  doFlags_ = flags;
  optionFlags_ = CabInt(Options().Get(), u"Flags", 0);
  level_ = (optionFlags_ & kSbOneLevel) ? CabInt(Options().Get(), u"Level", 1) : -1;
  viewRotation_ = 0;
  if (zelta::IWindowService* windows = Plugin() ? Plugin()->Windows() : nullptr)
    windows->GetViewRotation(Document(), &viewRotation_);
  ComPtr<zelta::IUnknown> component;
  if (App()) App()->GetComponent("LST", component.Put());
  lists_ = zelta::QueryAs<zelta::IObjectListFactory>(component.Get());
  if (!lists_) return zelta::E_POINTER;

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  ComPtr<IHostBookmark> root;
  if (Document()->GetOutlineRoot(root.Put()) != zelta::S_OK || !root)
    return FinishRun(zelta::E_FAIL, {});
  std::vector<Group> groups;
  uint32_t visits = 0;
  hr = CollectGroups(root.Get(), groups, visits);
  if (zelta::Failed(hr) || visits == 0) return FinishRun(hr, {});
  StartProgress(visits);

  // Descendants before ancestors: every group is in order before its parent's group moves.
  for (auto it = groups.rbegin(); it != groups.rend() && zelta::Succeeded(hr); ++it)
    hr = SortGroup(*it);
  return FinishRun(zelta::Failed(hr) ? hr : zelta::S_OK, {});
}

HRESULT SBOperation::CollectGroups(IHostBookmark* root, std::vector<Group>& groups,
                                   uint32_t& visits) {
  const bool belowLevelToo = level_ <= 0 || (optionFlags_ & kSbWithLevelsBelow);
  return WalkBookmarks(root, 0, true, [&](IHostBookmark* bookmark, int32_t depth) -> HRESULT {
    // Below the one level to sort nothing is entered.
    if (!belowLevelToo && depth >= level_) return zelta::S_FALSE;
    int32_t count = 0;
    if (zelta::Failed(bookmark->GetChildCount(&count)) || count <= 0) return zelta::S_OK;
    groups.push_back(Group{bookmark, depth});
    visits += static_cast<uint32_t>(count);
    return zelta::S_OK;
  });
}

HRESULT SBOperation::SortGroup(const Group& group) {
  const Children children = ChildrenOf(group.parent.Get());
  for (const auto& child : children) {
    HRESULT hr = StepProgress(ProgressShown() ? TitleOf(child.Get()) : std::u16string());
    if (zelta::Failed(hr)) return hr;
  }
  if (!SortsGroupAt(group.depth) || children.size() < 2) return zelta::S_OK;

  const std::vector<size_t> order = SortedOrder(children);
  std::vector<size_t> unchanged(order.size());
  std::iota(unchanged.begin(), unchanged.end(), size_t{0});
  if (order == unchanged) return zelta::S_OK;

  Children ordered;
  ordered.reserve(order.size());
  for (size_t index : order) ordered.push_back(children[index]);
  return ApplyOrder(group.parent.Get(), ordered);
}

std::vector<size_t> SBOperation::SortedOrder(const Children& children) {
  const int direction = (optionFlags_ & kSbDescending) ? -1 : 1;
  std::vector<size_t> sorted;
  sorted.reserve(children.size());
  auto insertAll = [&](auto compare) {
    for (size_t i = 0; i < children.size(); ++i)
      sorted.insert(
          sorted.begin() + static_cast<std::ptrdiff_t>(InsertPosition(sorted, i, compare)), i);
  };
  if (optionFlags_ & kSbAlphabetical) {
    const bool ignoreCase = optionFlags_ & kSbIgnoreCase;
    std::vector<std::u16string> titles;
    titles.reserve(children.size());
    for (const auto& child : children) titles.push_back(TitleOf(child.Get()));
    insertAll([&](size_t a, size_t b) {
      return direction * CompareTitles(titles[a], titles[b], ignoreCase);
    });
  } else {
    std::vector<PlaceKey> places;
    places.reserve(children.size());
    for (const auto& child : children) {
      const BookmarkTarget target = TargetOf(child.Get());
      PlaceKey key{target.page, {}};
      if (target.page >= 0)
        key.point = DestinationPoint(Document(), viewRotation_, target.destination);
      places.push_back(key);
    }
    insertAll([&](size_t a, size_t b) { return direction * ComparePlaces(places[a], places[b]); });
  }
  return sorted;
}

HRESULT SBOperation::ApplyOrder(IHostBookmark* parent, const Children& ordered) {
  ComPtr<zelta::IHostObjectList> list;
  HRESULT hr = lists_->CreateObjectList(list.Put());
  if (zelta::Succeeded(hr) && !list) hr = zelta::E_FAIL;
  for (size_t i = 0; zelta::Succeeded(hr) && i < ordered.size(); ++i)
    hr = list->Insert(-1, ordered[i].Get());
  if (zelta::Failed(hr)) return hr;

  hr = RunHostOperation(kDeleteId, list.Get());
  if (zelta::Failed(hr)) return hr;
  for (size_t i = 0; i < ordered.size(); ++i) {
    hr = parent->InsertChild(-1, ordered[i].Get());
    if (zelta::Failed(hr)) {
      // Detached again, so that undoing the deletion finds every child where it left it.
      for (size_t j = 0; j < i; ++j) ordered[j]->Remove();
      return hr;
    }
  }
  hr = RunHostOperation(kAddNewId, list.Get());
  if (zelta::Failed(hr)) return hr;
  MarkChanged();
  return zelta::S_OK;
}

HRESULT SBOperation::RunHostOperation(std::u16string_view id, zelta::IHostObjectList* list) {
  zelta::IHostApp* app = App();
  if (!app) return zelta::E_FAIL;
  ComPtr<zelta::IHostOperation> operation;
  HRESULT hr = app->CreateOperation(InternId(app, id), operation.Put());
  if (zelta::Failed(hr)) return hr;
  if (!operation) return zelta::E_FAIL;
  ComPtr<zelta::ICab> params;
  hr = operation->GetParams(params.Put());
  if (zelta::Failed(hr)) return hr;
  hr = SetCabObjects(CabItem(CabRoot(params.Get()).Get(), u"Input").Get(), {list});
  if (zelta::Failed(hr)) return hr;
  // The host operation records its undo item in this run's change group.
  return operation->Do(zelta::kDoNoProgress | (doFlags_ & zelta::kDoNoChangeGroup), 0);
}

}  // namespace bm
