#include "tools/tree/vb_operation.h"

#include <new>

#include "framework/atom_table.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "tools/tree/bookmark_validator.h"
#include "tools/tree/vb_dialog.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

VBOperation::VBOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT VBOperation::Execute(bool, intptr_t extra) {
  ComPtr<zelta::IHostDocument> document;
  if (zelta::IHostApp* app = App();
      app && app->GetActiveDocument(document.Put()) == zelta::S_OK && document)
    SetInput({static_cast<zelta::IUnknown*>(document.Get())});
  zelta::WindowHandle owner = 0;
  if (zelta::IWindowService* windows = Plugin() ? Plugin()->Windows() : nullptr)
    windows->GetActiveWindow(&owner);
  LoadLastUsedOptions();
  HRESULT hr = ShowDialog(owner, extra);
  if (KeepOptions(hr)) SaveLastUsedOptions();
  return hr;
}

HRESULT VBOperation::ShowDialog(zelta::WindowHandle owner, intptr_t) {
  if (!Document()) ReadDocumentInput();
  auto dialog = zelta::MakeCom<VBDialog>(Plugin(), Options().Get(), Document(), Row());
  int32_t result = zelta::kDialogResultCancel;
  const HRESULT hr = dialog->RunModal(owner, &result);
  if (zelta::Failed(hr)) return hr;
  return hr == zelta::S_OK && result == zelta::kDialogResultOk ? zelta::S_OK : zelta::S_FALSE;
}

HRESULT VBOperation::CollectInput(zelta::IUnknown* element) {
  if (zelta::QueryAs<zelta::IHostDocument>(element)) return zelta::S_OK;
  auto bookmark = zelta::QueryAs<IHostBookmark>(element);
  if (!bookmark) return zelta::E_INVALIDARG;
  ComPtr<zelta::IHostDocument> document;
  bookmark->GetDocument(document.Put());
  if (!document || document.Get() != Document()) return zelta::E_INVALIDARG;
  bookmarks_.push_back(bookmark);
  return zelta::S_OK;
}

HRESULT VBOperation::ReadInputs() {
  bookmarks_.clear();
  return ReadBookmarkListInput();
}

HRESULT VBOperation::InputFailed(HRESULT hr) {
  if (listener_) listener_->OnFinished(hr);
  return hr;
}

HRESULT VBOperation::Run(int32_t, intptr_t) {
  HRESULT hr = Validate();
  if (zelta::Succeeded(hr)) hr = WriteOutput();
  if (listener_) listener_->OnFinished(hr);
  // Validation changes nothing: success is "no change".
  return zelta::Failed(hr) ? hr : zelta::S_FALSE;
}

// Validation only reads the outline, so a file that allows no changes is checked too.
HRESULT VBOperation::Validate() {
  const int32_t checks = CabInt(Options().Get(), u"Flags", 0);
  ComPtr<IHostBookmark> root;
  if (Document()->GetOutlineRoot(root.Put()) != zelta::S_OK || !root) return zelta::E_FAIL;
  if (listener_) listener_->OnTotal(static_cast<double>(CountBookmarks(root.Get(), -1, 0, true)));

  BookmarkValidator validator(Document(), checks);
  auto visit = [&](IHostBookmark* bookmark, int32_t) -> HRESULT {
    if (listener_ && listener_->IsCancelled()) return zelta::E_CANCELLED;
    const int32_t warnings = validator.Validate(bookmark);
    if (warnings == 0) return zelta::S_OK;
    records_.push_back(Record{bookmark, warnings});
    if (listener_) listener_->OnRecord(bookmark, warnings);
    return zelta::S_OK;
  };
  if (bookmarks_.empty()) return WalkBookmarks(root.Get(), 0, false, visit);
  for (const auto& bookmark : bookmarks_) {
    const HRESULT hr = visit(bookmark.Get(), 0);
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_OK;
}

HRESULT VBOperation::WriteOutput() {
  ComPtr<zelta::ICabItem> output = Output();
  if (!output) return zelta::E_FAIL;
  HRESULT hr = output->Clear();
  for (size_t i = 0; zelta::Succeeded(hr) && i < records_.size(); ++i) {
    ComPtr<zelta::ICabItem> element;
    hr = output->Insert(-1, element.Put());
    if (zelta::Succeeded(hr) && !element) hr = zelta::E_OUTOFMEMORY;
    if (zelta::Succeeded(hr)) hr = element->SetObject(u"Bookmark", records_[i].bookmark.Get());
    if (zelta::Succeeded(hr)) hr = element->SetInt(u"Warnings", records_[i].warnings);
  }
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

}  // namespace bm
