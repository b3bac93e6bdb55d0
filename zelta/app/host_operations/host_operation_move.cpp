#include "zelta/app/host_operations/host_operation_move.h"

#include <unordered_set>

#include "zelta/app/host_operations/host_operation_placement_undo.h"

namespace zelta::app {
namespace {

// A bookmark option of the document; null stays null.
HRESULT BookmarkOption(ICabItem* options, const char16_t* name, IHostDocument* document,
                       ComPtr<IHostBookmark>* bookmark) {
  ComPtr<IUnknown> object;
  if (options) options->GetObject(name, object.Put());
  if (!object) return S_FALSE;
  *bookmark = QueryAs<IHostBookmark>(object.Get());
  if (!*bookmark) return E_INVALIDARG;
  ComPtr<IHostDocument> owner;
  (*bookmark)->GetDocument(owner.Put());
  return owner.Get() == document ? S_OK : E_INVALIDARG;
}

}  // namespace

HRESULT HostOperationMove::Apply(IHostDocument* document,
                                 const std::vector<ComPtr<IHostBookmark>>& input, ICabItem* options,
                                 ComPtr<IUndoItem>* undo) {
  ComPtr<IHostBookmark> parent, before;
  HRESULT hr = BookmarkOption(options, u"Parent", document, &parent);
  if (Succeeded(hr)) hr = BookmarkOption(options, u"InsertBefore", document, &before);
  if (Failed(hr)) return hr;
  if (!parent) {
    hr = document->GetOutlineRoot(parent.Put());
    if (Failed(hr) || !parent) return Failed(hr) ? hr : E_FAIL;
  }

  // Nothing may move into its own subtree: the parent and its ancestors must not be moved.
  std::unordered_set<IHostBookmark*> moved;
  for (const auto& bookmark : input) moved.insert(bookmark.Get());
  for (ComPtr<IHostBookmark> up = parent; up;) {
    if (moved.count(up.Get())) return E_INVALIDARG;
    ComPtr<IHostBookmark> next;
    up->GetParent(next.Put());
    up = next;
  }
  if (before) {
    ComPtr<IHostBookmark> beforeParent;
    before->GetParent(beforeParent.Put());
    if (beforeParent.Get() != parent.Get() || moved.count(before.Get())) return E_INVALIDARG;
  }

  BookmarkPlaces places;
  hr = FindPlaces(input, &places);
  if (Failed(hr)) return hr;
  for (const auto& bookmark : input) bookmark->Remove();
  // Where InsertBefore stands once the moved bookmarks are out (-1: at the end).
  int32_t position = -1;
  if (before) {
    position = 0;
    ComPtr<IHostBookmark> child;
    parent->GetFirstChild(child.Put());
    while (child && child.Get() != before.Get()) {
      ComPtr<IHostBookmark> next;
      child->GetNextSibling(next.Put());
      child = next;
      ++position;
    }
  }
  for (const auto& bookmark : input) {
    hr = parent->InsertChild(position, bookmark.Get());
    if (Failed(hr)) break;
    if (position >= 0) ++position;
  }
  BookmarkPlaces after;
  if (Succeeded(hr)) hr = FindPlaces(input, &after);
  if (Failed(hr)) {
    ApplyPlaces(input, places);
    return hr;
  }
  *undo = MakeCom<BookmarkPlacementUndo>(input, std::move(places), std::move(after));
  return S_OK;
}

}  // namespace zelta::app
