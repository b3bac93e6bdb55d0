// Bookmark Every N-th Page: one top-level bookmark for the 1st, (N+1)-th, (2N+1)-th ... page
// of a page range, each going to its page and titled by a template with macros. The new
// bookmarks follow the existing top-level ones; one undo step.
#pragma once

#include "framework/bookmark_operation.h"

namespace bm {

class BENPOperation : public BookmarkOperation {
 public:
  BENPOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }

 private:
  // The page indexes PagesRange selects, in the range's order.
  zelta::HRESULT SelectPages(std::vector<int32_t>* pages);
};

}  // namespace bm
