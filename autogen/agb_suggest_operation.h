// Suggest Generation Options: reads the text of a document's pages once and proposes the
// options of the generation operation (levels, page range, flags) from the document's own
// typography, with an explanation of every choice. It never changes the document; the
// suggestion is left in "Output" (the dictionary that kOperationSuggestsOptions describes),
// with two more entries: "Confidence" (Double, 0 to 1) how surely the levels are headings,
// "Doubt" (String) why the options should not be used unattended, empty when they may, and
// "Warning" (String) what a run with them makes that the user should know of.
#pragma once

#include <string>

#include "framework/bookmark_operation.h"

namespace bm {

class AGBSuggestOperation : public BookmarkOperation {
 public:
  AGBSuggestOperation(PluginContext* plugin, const OperationRow& row);

  // S_FALSE (the document is unchanged), also when no headings were found ("Found" says so);
  // the failure of a page whose text cannot be read, or E_CANCELLED.
  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }
};

}  // namespace bm
