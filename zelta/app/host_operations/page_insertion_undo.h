// The undo item of inserted pages: the pages themselves (undo takes them out of the page
// tree, redo puts the same page objects back, with whatever was drawn on them) and the page
// labels before and after.
#pragma once

#include <vector>

#include "host/undo.h"
#include "zelta/pdf/host_document.h"

namespace zelta::app {

class PageInsertionUndo final : public ComObject<IUndoItem> {
 public:
  PageInsertionUndo(ComPtr<pdf::HostDocument> document, int position,
                    std::vector<pdf::MuObject> pages, pdf::MuObject labelsBefore,
                    pdf::MuObject labelsAfter)
      : document_(std::move(document)),
        position_(position),
        pages_(std::move(pages)),
        labelsBefore_(std::move(labelsBefore)),
        labelsAfter_(std::move(labelsAfter)) {}

  HRESULT Undo() override;
  HRESULT Redo() override;

 private:
  ~PageInsertionUndo() override = default;

  ComPtr<pdf::HostDocument> document_;
  int position_;
  std::vector<pdf::MuObject> pages_;
  pdf::MuObject labelsBefore_, labelsAfter_;
};

}  // namespace zelta::app
