// Where a bookmark leads: its target page, and the point at which its destination opens in
// the orientation the page is viewed in (used to order bookmarks by position).
#pragma once

#include "host/action.h"
#include "host/bookmark.h"
#include "host/document.h"

namespace bm {

struct BookmarkTarget {
  int32_t page = -1;  // zero-based; -1 when no go-to action yields a page
  zelta::PageDestination destination;
};

// Searches the bookmark's actions from the last to the first for a "GoTo" action whose
// destination (explicit, or a name resolved through the document) yields a page.
BookmarkTarget TargetOf(zelta::IHostBookmark* bookmark);
// The same search over actions the caller already has (the bookmark resolves names).
BookmarkTarget TargetOf(zelta::IHostBookmark* bookmark, zelta::IHostActionList* actions);

struct ViewPoint {
  double x = 0;
  double y = 0;
};

// The point at which the destination opens, turned by the page's rotation plus the view
// rotation (degrees). A page outside the document gives a zero box and the view rotation
// alone.
ViewPoint DestinationPoint(zelta::IHostDocument* document, int32_t viewRotation,
                           const zelta::PageDestination& destination);

}  // namespace bm
