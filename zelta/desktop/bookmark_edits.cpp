#include "zelta/desktop/bookmark_edits.h"

#include "zelta/base/atom_table.h"

namespace zelta::desktop {

namespace {

// Makes the operation and fills its "Input"; the caller sets the options and runs it.
HRESULT Prepare(app::HostApp& app, const char* id, const std::vector<ComPtr<IHostBookmark>>& input,
                ComPtr<IHostOperation>* operation, ComPtr<ICabItem>* options) {
  HRESULT hr = app.CreateOperation(base::Intern(id), operation->Put());
  if (Failed(hr) || !*operation) return Failed(hr) ? hr : E_FAIL;
  ComPtr<ICab> params;
  ComPtr<ICabItem> root, list;
  if (Failed((*operation)->GetParams(params.Put())) || !params ||
      Failed(params->GetRoot(root.Put())) || root->GetItem(u"Input", list.Put()) != S_OK ||
      root->GetItem(u"Options", options->Put()) != S_OK)
    return E_FAIL;
  for (const auto& bookmark : input) {
    ComPtr<ICabItem> element;
    hr = list->Insert(-1, element.Put());
    if (Succeeded(hr)) hr = element->SetObject(nullptr, bookmark.Get());
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

HRESULT RunPrepared(app::HostApp& app, IHostOperation* operation) {
  return app.RunOperation(operation, kDoNoProgress, 0);
}

}  // namespace

HRESULT BookmarkEdits::Rename(IHostBookmark* bookmark, std::u16string_view title) {
  if (!bookmark) return E_POINTER;
  ComPtr<IHostOperation> operation;
  ComPtr<ICabItem> options;
  HRESULT hr = Prepare(app_, "op.bookmarks.setProps", {ComPtr<IHostBookmark>(bookmark)}, &operation,
                       &options);
  if (Succeeded(hr)) hr = options->SetInt(u"Mask", kPropTitle);
  if (Succeeded(hr))
    hr = options->SetText(u"Title", title.data(), static_cast<int32_t>(title.size()));
  return Succeeded(hr) ? RunPrepared(app_, operation.Get()) : hr;
}

HRESULT BookmarkEdits::Delete(const std::vector<ComPtr<IHostBookmark>>& bookmarks) {
  if (bookmarks.empty()) return S_FALSE;
  ComPtr<IHostOperation> operation;
  ComPtr<ICabItem> options;
  HRESULT hr = Prepare(app_, "op.bookmarks.delete", bookmarks, &operation, &options);
  return Succeeded(hr) ? RunPrepared(app_, operation.Get()) : hr;
}

HRESULT BookmarkEdits::Move(const std::vector<ComPtr<IHostBookmark>>& bookmarks,
                            IHostBookmark* parent, IHostBookmark* before) {
  if (bookmarks.empty()) return S_FALSE;
  ComPtr<IHostOperation> operation;
  ComPtr<ICabItem> options;
  HRESULT hr = Prepare(app_, "op.bookmarks.move", bookmarks, &operation, &options);
  if (Succeeded(hr) && parent) hr = options->SetObject(u"Parent", parent);
  if (Succeeded(hr) && before) hr = options->SetObject(u"InsertBefore", before);
  return Succeeded(hr) ? RunPrepared(app_, operation.Get()) : hr;
}

HRESULT BookmarkEdits::AddAfter(IHostBookmark* after, std::u16string_view title,
                                const PageDestination& target, ComPtr<IHostBookmark>* made) {
  if (!made || !document_) return E_POINTER;
  ComPtr<IHostBookmark> parent;
  int32_t position = -1;
  if (after) {
    after->GetParent(parent.Put());
    // The position after `after` among its siblings.
    position = 1;
    for (ComPtr<IHostBookmark> at(after);;) {
      ComPtr<IHostBookmark> previous;
      if (at->GetPrevSibling(previous.Put()) != S_OK || !previous) break;
      ++position;
      at = previous;
    }
  }
  if (!parent) {
    HRESULT hr = document_->GetOutlineRoot(parent.Put());
    if (Failed(hr) || !parent) return Failed(hr) ? hr : E_FAIL;
  }
  ComPtr<IHostBookmark> bookmark;
  HRESULT hr = parent->InsertNewChild(position, bookmark.Put());
  if (Failed(hr) || !bookmark) return Failed(hr) ? hr : E_FAIL;
  ComPtr<IHostActionList> actions;
  ComPtr<IHostAction> action;
  hr = bookmark->SetTitle(title.data(), static_cast<int32_t>(title.size()));
  if (Succeeded(hr)) hr = bookmark->GetActions(actions.Put());
  if (Succeeded(hr) && actions) hr = actions->AppendGoTo(&target, action.Put());
  if (Succeeded(hr) && actions) hr = bookmark->SetActions(actions.Get());
  // The addition is recorded as one undo step once the bookmark is complete; a bookmark
  // that could not be completed is taken out again.
  ComPtr<IHostOperation> operation;
  ComPtr<ICabItem> options;
  if (Succeeded(hr))
    hr = Prepare(app_, "op.bookmarks.addNew.simple", {bookmark}, &operation, &options);
  if (Succeeded(hr)) hr = RunPrepared(app_, operation.Get());
  if (Failed(hr)) {
    bookmark->Remove();
    return hr;
  }
  *made = bookmark;
  return S_OK;
}

bool BookmarkEdits::Destination(IHostBookmark* bookmark, PageDestination* target) {
  ComPtr<IHostActionList> actions;
  if (!bookmark || bookmark->GetActions(actions.Put()) != S_OK || !actions) return false;
  int32_t count = 0;
  actions->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<IHostAction> action;
    int32_t type = 0;
    if (actions->GetItem(i, action.Put()) != S_OK || !action) continue;
    action->GetType(&type);
    if (type == kActionGoTo && action->GetDestination(target) == S_OK) return true;
  }
  return false;
}

}  // namespace zelta::desktop
