// Turning the user's bookmark selection into the list an operation works on. With sub-levels
// each entry stands for itself and its whole subtree, so the list never holds a bookmark
// together with one of its ancestors.
#pragma once

#include "framework/bookmark_list.h"
#include "host/document.h"
#include "host/selection.h"

namespace bm {

// True when ancestor is one of bookmark's parents (the bookmark itself does not count).
bool IsDescendant(zelta::IHostBookmark* bookmark, zelta::IHostBookmark* ancestor);

// Appends one bookmark. Without sub-levels it is always appended. With sub-levels it is
// skipped when an entry already covers it (the entry itself or an ancestor), and otherwise
// replaces the entries it covers. E_POINTER for a null bookmark, E_OUTOFMEMORY when the list
// cannot grow.
zelta::HRESULT AddBookmark(BookmarkList& list, zelta::IHostBookmark* bookmark,
                           bool includeSubLevels);

// Fills the list (emptied first) from the document's "selection.bookmarks", in selection
// order, by the rules of AddBookmark. No selection service or no selection: S_OK and an empty
// list. E_POINTER for a null document, E_OUTOFMEMORY when the list cannot grow (the entries
// collected so far stay).
zelta::HRESULT CollectSelectedBookmarks(zelta::ISelectionService* selections,
                                        zelta::IHostDocument* document, BookmarkList& list,
                                        bool includeSubLevels);

}  // namespace bm
