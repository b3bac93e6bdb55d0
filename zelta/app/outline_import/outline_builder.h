// Builds outline nodes into a document after its existing top-level bookmarks, through the
// same bookmark and action services the module uses.
#pragma once

#include <string>
#include <vector>

#include "host/document.h"
#include "zelta/app/outline_import/outline_node.h"

namespace zelta::app {

struct BuildResult {
  std::vector<ComPtr<IHostBookmark>> created;  // the new top-level bookmarks, in order
  std::vector<std::string> notes;              // actions the document refused, by bookmark
};

// Appends the nodes; an action the document refuses (a page it does not have) is left out
// and noted. A failing bookmark call ends the build and is returned; what was made is in
// result->created so that the caller can take it out again.
HRESULT BuildOutline(IHostDocument* document, const std::vector<OutlineNode>& nodes,
                     BuildResult* result);

}  // namespace zelta::app
