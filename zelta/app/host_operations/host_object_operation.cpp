#include "zelta/app/host_operations/host_object_operation.h"

#include "zelta/app/host_operations/host_operation_base.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {

HRESULT HostObjectOperation::GetOperationId(Atom* id) {
  if (!id) return E_POINTER;
  *id = id_;
  return S_OK;
}

HRESULT HostObjectOperation::GetParams(ICab** params) {
  if (!params) return E_POINTER;
  return params_.CopyTo(params);
}

HRESULT HostObjectOperation::GetKind(int32_t* kind) {
  if (!kind) return E_POINTER;
  *kind = HostBookmarkOperation::kHostKind;
  return S_OK;
}

HRESULT HostObjectOperation::ShowDialog(WindowHandle, intptr_t) { return E_NOTIMPL; }

HRESULT HostObjectOperation::GetObject(Atom, IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return S_FALSE;
}

HRESULT HostObjectOperation::InputObjects(std::vector<ComPtr<IUnknown>>* objects) const {
  ComPtr<ICabItem> root, input;
  params_->GetRoot(root.Put());
  if (!root || root->GetItem(u"Input", input.Put()) != S_OK || !input) return E_INVALIDARG;
  int32_t count = 0;
  input->GetCount(&count);
  if (static_cast<size_t>(count) > HostBookmarkOperation::kMaxInput) return E_OUTOFMEMORY;
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    ComPtr<IUnknown> object;
    if (input->GetItemAt(i, element.Put()) == S_OK && element)
      element->GetObject(nullptr, object.Put());
    if (!object) return E_INVALIDARG;
    objects->push_back(object);
  }
  return S_OK;
}

ComPtr<ICabItem> HostObjectOperation::Options() const {
  ComPtr<ICabItem> root, options;
  params_->GetRoot(root.Put());
  if (root) root->GetItem(u"Options", options.Put());
  return options;
}

std::u16string HostObjectOperation::Label() const {
  return base::AtomTable::Global().Text(id_).value_or(u"");
}

}  // namespace zelta::app
