#include "framework/bookmark_source.h"

#include <new>
#include <unordered_set>

#include "framework/atom_table.h"
#include "host/selection.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

// Bound on parent links followed from one bookmark; far deeper than any real outline, it
// only keeps a damaged parent chain from running forever.
constexpr int kMaxParentSteps = 1 << 20;

ComPtr<IHostBookmark> ParentOf(IHostBookmark* bookmark) {
  ComPtr<IHostBookmark> parent;
  if (bookmark->GetParent(parent.Put()) != zelta::S_OK) return nullptr;
  return parent;
}

// True when one of bookmark's parents is in the set.
bool HasAncestorIn(IHostBookmark* bookmark, const std::unordered_set<IHostBookmark*>& set) {
  ComPtr<IHostBookmark> parent = ParentOf(bookmark);
  for (int steps = 0; parent && steps < kMaxParentSteps; ++steps) {
    if (set.count(parent.Get())) return true;
    parent = ParentOf(parent.Get());
  }
  return false;
}

}  // namespace

bool IsDescendant(IHostBookmark* bookmark, IHostBookmark* ancestor) {
  if (!bookmark || !ancestor) return false;
  return HasAncestorIn(bookmark, {ancestor});
}

HRESULT AddBookmark(BookmarkList& list, IHostBookmark* bookmark, bool includeSubLevels) {
  if (!bookmark) return zelta::E_POINTER;
  if (includeSubLevels && !list.empty()) {
    std::unordered_set<IHostBookmark*> entries;
    for (const auto& entry : list) entries.insert(entry.Get());
    if (entries.count(bookmark) || HasAncestorIn(bookmark, entries)) return zelta::S_OK;
    std::erase_if(list, [&](const ComPtr<IHostBookmark>& entry) {
      return IsDescendant(entry.Get(), bookmark);
    });
  }
  list.emplace_back(bookmark);
  return zelta::S_OK;
}

HRESULT CollectSelectedBookmarks(zelta::ISelectionService* service, zelta::IHostDocument* document,
                                 BookmarkList& list, bool includeSubLevels) {
  list.clear();
  if (!document) return zelta::E_POINTER;
  if (!service) return zelta::S_OK;
  ComPtr<zelta::IHostSelection> selection;
  zelta::Atom atom = AtomOf(u"selection.bookmarks");
  if (service->GetSelection(document, atom, selection.Put()) != zelta::S_OK || !selection)
    return zelta::S_OK;
  int32_t count = 0;
  if (zelta::Failed(selection->GetCount(&count)) || count <= 0) return zelta::S_OK;
  BookmarkList selected;
  selected.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<zelta::IUnknown> item;
    if (selection->GetItem(i, item.Put()) != zelta::S_OK) continue;
    if (auto bookmark = zelta::QueryAs<IHostBookmark>(item.Get())) selected.push_back(bookmark);
  }
  list.reserve(selected.size());
  if (!includeSubLevels) {
    list = std::move(selected);
    return zelta::S_OK;
  }
  // The same result as adding one by one, in linear time: a bookmark stays, at its own
  // place in the selection order, unless one of its ancestors is selected too or it was
  // selected before.
  std::unordered_set<IHostBookmark*> all;
  for (const auto& bookmark : selected) all.insert(bookmark.Get());
  std::unordered_set<IHostBookmark*> taken;
  for (const auto& bookmark : selected) {
    if (taken.count(bookmark.Get()) || HasAncestorIn(bookmark.Get(), all)) continue;
    taken.insert(bookmark.Get());
    list.push_back(bookmark);
  }
  return zelta::S_OK;
}

}  // namespace bm
