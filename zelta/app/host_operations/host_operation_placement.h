// Where bookmarks sit in the outline, and how to put a set of them back there. Host
// operations that take bookmarks out, put them in or move them record the places before
// and after, and undo by going back to the earlier ones.
#pragma once

#include <optional>
#include <vector>

#include "host/bookmark.h"

namespace zelta::app {

struct BookmarkPlace {
  ComPtr<IHostBookmark> parent;
  int32_t index = 0;  // among the parent's children
};

// One place per bookmark, in the order of a list; nullopt means "not in the outline".
using BookmarkPlaces = std::vector<std::optional<BookmarkPlace>>;

// The present places of the bookmarks: each parent's children are walked once, so finding
// the places of a whole group of siblings costs one pass. A detached bookmark has none.
HRESULT FindPlaces(const std::vector<ComPtr<IHostBookmark>>& bookmarks, BookmarkPlaces* places);

// Takes every bookmark out of the outline, then inserts those with a place at it, lowest
// index first, so that the indexes mean what they meant when they were recorded. The list
// must not name a bookmark twice. Goes on after a failure and answers the first one.
HRESULT ApplyPlaces(const std::vector<ComPtr<IHostBookmark>>& bookmarks,
                    const BookmarkPlaces& places);

}  // namespace zelta::app
