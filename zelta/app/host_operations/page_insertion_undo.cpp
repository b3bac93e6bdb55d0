#include "zelta/app/host_operations/page_insertion_undo.h"

namespace zelta::app {

HRESULT PageInsertionUndo::Undo() {
  std::vector<pdf::MuObject> taken;
  HRESULT hr = document_->TakePages(position_, static_cast<int>(pages_.size()), &taken);
  if (Failed(hr)) return hr;
  hr = document_->SetPageLabelTree(labelsBefore_);
  if (Failed(hr)) document_->PutPages(position_, taken);
  return hr;
}

HRESULT PageInsertionUndo::Redo() {
  HRESULT hr = document_->PutPages(position_, pages_);
  if (Failed(hr)) return hr;
  hr = document_->SetPageLabelTree(labelsAfter_);
  if (Failed(hr)) {
    std::vector<pdf::MuObject> taken;
    document_->TakePages(position_, static_cast<int>(pages_.size()), &taken);
  }
  return hr;
}

}  // namespace zelta::app
