// The undo item of annotations added to pages: undo takes them off their pages, redo puts
// them back where they were.
#pragma once

#include <vector>

#include "host/undo.h"
#include "zelta/pdf/pages/host_annotation.h"

namespace zelta::app {

class AnnotationAdditionUndo final : public ComObject<IUndoItem> {
 public:
  explicit AnnotationAdditionUndo(std::vector<ComPtr<pdf::HostAnnotation>> annotations)
      : annotations_(std::move(annotations)), positions_(annotations_.size(), -1) {}

  HRESULT Undo() override;
  HRESULT Redo() override;

 private:
  ~AnnotationAdditionUndo() override = default;

  std::vector<ComPtr<pdf::HostAnnotation>> annotations_;
  std::vector<int> positions_;  // in the pages' /Annots, when taken off
};

}  // namespace zelta::app
