#include "zelta/pdf/pages/content_undo.h"

#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

HRESULT ContentUndo::Apply(const Entries& entries) {
  MuCalls& mu = document_->Mu();
  HRESULT hr = entries.contents ? mu.Put(page_.Get(), "Contents", entries.contents.Get())
                                : mu.Del(page_.Get(), "Contents");
  if (Succeeded(hr))
    hr = entries.resources ? mu.Put(page_.Get(), "Resources", entries.resources.Get())
                           : mu.Del(page_.Get(), "Resources");
  return hr;
}

HRESULT ContentUndo::Undo() {
  if (stream_) {
    HRESULT hr = document_->SetOwnStreamLength(stream_, streamLength_);
    if (Failed(hr)) return hr;
  }
  return Apply(before_);
}

HRESULT ContentUndo::Redo() {
  if (stream_) {
    HRESULT hr = document_->AppendToOwnStream(stream_, added_);
    if (Failed(hr)) return hr;
  }
  return Apply(after_);
}

}  // namespace zelta::pdf
