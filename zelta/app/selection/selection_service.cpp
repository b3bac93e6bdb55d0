#include "zelta/app/selection/selection_service.h"

#include "host/bookmark.h"
#include "host/call_guard.h"
#include "host/document.h"
#include "zelta/app/selection/host_selection.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {
namespace {

// Compares documents by identity of their IUnknown, the COM identity rule.
bool SameObject(IUnknown* a, IUnknown* b) {
  auto ua = QueryAs<IUnknown>(a);
  auto ub = QueryAs<IUnknown>(b);
  return ua && ua == ub;
}

}  // namespace

SelectionService::SelectionService()
    : bookmarks_(base::Intern("selection.bookmarks")), text_(base::Intern("selection.text")) {}

HRESULT SelectionService::GetSelection(IHostDocument* document, Atom selection,
                                       IHostSelection** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!document) return E_INVALIDARG;
  asked_.insert(selection);
  auto entry = documents_.find(document);
  if (entry == documents_.end()) return S_FALSE;
  auto found = entry->second.selections.find(selection);
  if (found == entry->second.selections.end()) return S_FALSE;
  auto items = Live(selection, found->second);
  if (items.empty()) return S_FALSE;
  return ComPtr<IHostSelection>(MakeCom<HostSelection>(std::move(items))).CopyTo(out);
}

HRESULT SelectionService::GetTextSelection(IHostDocument* document, IUnknown** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!document) return E_INVALIDARG;
  asked_.insert(text_);
  auto entry = documents_.find(document);
  if (entry == documents_.end()) return S_FALSE;
  auto found = entry->second.selections.find(text_);
  if (found == entry->second.selections.end() || found->second.empty()) return S_FALSE;
  return found->second.front().CopyTo(out);
}

HRESULT SelectionService::SetSelection(IHostDocument* document, Atom selection,
                                       std::vector<ComPtr<IUnknown>> items, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return E_INVALIDARG;
  };
  if (!document) return fail("no document for the selection");
  if (selection == kNoAtom) return fail("no selection name");
  for (auto& item : items)
    if (!item) return fail("a selection cannot hold a null object");
  if (selection == text_ && items.size() > 1) return fail("the text selection holds one object");
  if (selection == bookmarks_) {
    for (size_t i = 0; i < items.size(); ++i) {
      auto bookmark = QueryAs<IHostBookmark>(items[i].Get());
      ComPtr<IHostDocument> owner;
      if (bookmark) bookmark->GetDocument(owner.Put());
      if (!bookmark || !SameObject(owner.Get(), document))
        return fail("selected item " + std::to_string(i + 1) +
                    " is not a bookmark of the document");
    }
  }
  auto& entry = documents_[document];
  entry.document = document;
  if (items.empty())
    entry.selections.erase(selection);
  else
    entry.selections[selection] = std::move(items);
  return S_OK;
}

void SelectionService::ClearDocument(IHostDocument* document) {
  auto entry = documents_.find(document);
  if (entry == documents_.end()) return;
  auto removed = std::move(entry->second);  // released after the map no longer refers to it
  documents_.erase(entry);
}

std::vector<ComPtr<IUnknown>> SelectionService::Live(
    Atom selection, const std::vector<ComPtr<IUnknown>>& items) const {
  if (selection != bookmarks_) return items;
  std::vector<ComPtr<IUnknown>> live;
  for (auto& item : items) {
    auto bookmark = QueryAs<IHostBookmark>(item.Get());
    bool attached = false;
    if (bookmark && Succeeded(bookmark->IsAttached(&attached)) && attached) live.push_back(item);
  }
  return live;
}

HRESULT SelectionService::Select(IHostDocument* document, Atom selection, IUnknown* const* items,
                                 int32_t count) {
  if (!document || count < 0 || (count > 0 && !items)) return E_INVALIDARG;
  return GuardCall([&] {
    std::vector<ComPtr<IUnknown>> list(items, items + count);
    return SetSelection(document, selection, std::move(list));
  });
}

}  // namespace zelta::app
