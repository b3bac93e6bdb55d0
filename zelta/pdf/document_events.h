// How a document announces its changes through the host's event server.
#pragma once

#include "host/com.h"
#include "host/events.h"

namespace zelta::pdf {

struct DocumentEvents {
  ComPtr<IEventServer> server;  // may be null: nothing is announced
  Atom bookmarksChanged = 0;    // "e.bookmarks.changed" (event object: the bookmark)
  Atom namedDestsInserted = 0;  // "e.pdfNamedDests.inserted" (event object: the document)
  Atom namedDestsDeleted = 0;   // "e.pdfNamedDests.deleted" (event object: the document)
};

}  // namespace zelta::pdf
