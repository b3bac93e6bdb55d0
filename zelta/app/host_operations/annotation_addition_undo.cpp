#include "zelta/app/host_operations/annotation_addition_undo.h"

namespace zelta::app {

HRESULT AnnotationAdditionUndo::Undo() {
  // Newest first, so that each position is the one the annotation had in the list it left.
  for (size_t i = annotations_.size(); i-- > 0;) {
    pdf::HostAnnotation& annotation = *annotations_[i];
    HRESULT hr = annotation.Document()->DetachAnnotation(annotation.Page(), annotation.Annotation(),
                                                         &positions_[i]);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

HRESULT AnnotationAdditionUndo::Redo() {
  for (size_t i = 0; i < annotations_.size(); ++i) {
    pdf::HostAnnotation& annotation = *annotations_[i];
    HRESULT hr = annotation.Document()->AttachAnnotation(annotation.Page(), annotation.Annotation(),
                                                         positions_[i]);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zelta::app
