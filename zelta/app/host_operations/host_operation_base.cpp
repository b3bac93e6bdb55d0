#include "zelta/app/host_operations/host_operation_base.h"

#include <new>
#include <unordered_set>

#include "host/call_guard.h"
#include "host/object_list.h"
#include "zelta/app/undo_history.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {

HRESULT RecordUndoItem(IHostDocument* document, int32_t flags, std::u16string_view label,
                       IUndoItem* item) {
  ComPtr<IHostUndoHistory> history;
  document->GetUndoHistory(history.Put());
  if (!history) return S_FALSE;  // a document without history keeps no undo
  if (auto* own = dynamic_cast<UndoHistory*>(history.Get())) {
    if (!(flags & kDoNoChangeGroup)) return own->Record(label, item);
    ComPtr<IHostChangeGroup> open = own->OpenGroup();
    return open ? open->AddItem(item) : S_FALSE;
  }
  if (flags & kDoNoChangeGroup) return S_FALSE;
  // Another history: a group of one item, which joins an open outer group if there is one.
  ComPtr<IHostChangeGroup> group;
  std::u16string text(label);
  HRESULT hr = history->BeginGroup(text.c_str(), static_cast<int32_t>(text.size()), group.Put());
  if (Succeeded(hr) && group) hr = group->AddItem(item);
  if (group) {
    HRESULT closed = Succeeded(hr) ? group->Commit() : group->Rollback();
    if (Succeeded(hr) && Failed(closed)) hr = closed;
  }
  return hr;
}

HRESULT HostBookmarkOperation::GetOperationId(Atom* id) {
  if (!id) return E_POINTER;
  *id = id_;
  return S_OK;
}

HRESULT HostBookmarkOperation::GetParams(ICab** params) {
  if (!params) return E_POINTER;
  return params_.CopyTo(params);
}

HRESULT HostBookmarkOperation::GetKind(int32_t* kind) {
  if (!kind) return E_POINTER;
  *kind = kHostKind;
  return S_OK;
}

HRESULT HostBookmarkOperation::ShowDialog(WindowHandle, intptr_t) { return E_NOTIMPL; }

HRESULT HostBookmarkOperation::GetObject(Atom, IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return S_FALSE;
}

HRESULT HostBookmarkOperation::ReadInput(std::vector<ComPtr<IHostBookmark>>* input,
                                         ComPtr<IHostDocument>* document) {
  ComPtr<ICabItem> root, item;
  params_->GetRoot(root.Put());
  if (!root || root->GetItem(u"Input", item.Put()) != S_OK || !item) return E_INVALIDARG;
  std::vector<ComPtr<IUnknown>> objects;
  int32_t count = 0;
  item->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    ComPtr<IUnknown> object;
    if (item->GetItemAt(i, element.Put()) == S_OK && element)
      element->GetObject(nullptr, object.Put());
    if (!object) return E_INVALIDARG;
    if (auto list = QueryAs<IHostObjectList>(object.Get())) {
      int32_t listCount = 0;
      list->GetCount(&listCount);
      for (int32_t k = 0; k < listCount; ++k) {
        ComPtr<IUnknown> listed;
        list->GetItem(k, listed.Put());
        if (!listed) return E_INVALIDARG;
        objects.push_back(listed);
      }
    } else {
      objects.push_back(object);
    }
    if (objects.size() > kMaxInput) return E_OUTOFMEMORY;
  }
  std::unordered_set<IHostBookmark*> seen;
  for (const auto& object : objects) {
    auto bookmark = QueryAs<IHostBookmark>(object.Get());
    bool isRoot = true;
    if (!bookmark || Failed(bookmark->IsRoot(&isRoot)) || isRoot) return E_INVALIDARG;
    ComPtr<IHostDocument> owner;
    bookmark->GetDocument(owner.Put());
    if (!owner) return E_INVALIDARG;
    if (!*document)
      *document = owner;
    else if (owner.Get() != document->Get())
      return E_INVALIDARG;  // one document per run
    if (seen.insert(bookmark.Get()).second) input->push_back(bookmark);
  }
  return S_OK;
}

HRESULT HostBookmarkOperation::WriteOutput(const std::vector<ComPtr<IHostBookmark>>& output) {
  ComPtr<ICabItem> root, item;
  params_->GetRoot(root.Put());
  if (!root || root->GetItem(u"Output", item.Put()) != S_OK || !item) return S_FALSE;
  item->Clear();
  for (const auto& bookmark : output) {
    ComPtr<ICabItem> element;
    HRESULT hr = item->Insert(-1, element.Put());
    if (Succeeded(hr) && element) hr = element->SetObject(nullptr, bookmark.Get());
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

HRESULT HostBookmarkOperation::Do(int32_t flags, intptr_t) {
  return GuardCall([&]() -> HRESULT {
    std::vector<ComPtr<IHostBookmark>> input;
    ComPtr<IHostDocument> document;
    HRESULT hr = ReadInput(&input, &document);
    if (Failed(hr)) return hr;
    if (input.empty()) return S_FALSE;
    int32_t answer = 0;
    if (Failed(document->IsPermitted(kPermModify, kPermAnyChange, kPermReserved, &answer)) ||
        answer != 1)
      return E_NO_PERMISSION;

    ComPtr<ICabItem> root, options;
    params_->GetRoot(root.Put());
    if (root) root->GetItem(u"Options", options.Put());
    ComPtr<IUndoItem> undo;
    hr = Apply(document.Get(), input, options.Get(), &undo);
    if (Failed(hr)) return hr;
    if (!undo) return S_FALSE;
    std::u16string label = base::AtomTable::Global().Text(id_).value_or(u"");
    hr = RecordUndoItem(document.Get(), flags, label, undo.Get());
    if (Failed(hr)) {
      undo->Undo();  // a change that cannot be undone is not kept
      return hr;
    }
    WriteOutput(Outputs(input));
    return S_OK;
  });
}

}  // namespace zelta::app
