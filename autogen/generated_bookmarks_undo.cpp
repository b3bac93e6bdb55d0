#include "autogen/generated_bookmarks_undo.h"

namespace bm {

using zelta::HRESULT;

HRESULT GeneratedBookmarksUndo::RemoveAll(const BookmarkList& created) {
  HRESULT result = zelta::S_OK;
  for (auto it = created.rbegin(); it != created.rend(); ++it) {
    bool attached = false;
    if (!*it || zelta::Failed((*it)->IsAttached(&attached)) || !attached) continue;
    HRESULT hr = (*it)->Remove();
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

HRESULT GeneratedBookmarksUndo::Undo() { return RemoveAll(created_); }

HRESULT GeneratedBookmarksUndo::Redo() {
  if (!root_) return zelta::E_FAIL;
  for (const auto& bookmark : created_) {
    bool attached = true;
    if (!bookmark || zelta::Failed(bookmark->IsAttached(&attached)) || attached) continue;
    HRESULT hr = root_->InsertChild(-1, bookmark.Get());
    if (zelta::Failed(hr)) {
      // All or nothing: what was put back goes out again.
      RemoveAll(created_);
      return hr;
    }
  }
  return zelta::S_OK;
}

}  // namespace bm
