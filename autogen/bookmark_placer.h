// Places generated titles in the outline by their level: level-1 titles become new last
// children of the root, deeper ones go under the latest top-level bookmark of the run, with
// untitled bookmarks filling any level that has none. Bookmarks that existed before the run
// are never changed.
#pragma once

#include <string>

#include "autogen/level_node.h"
#include "framework/bookmark_list.h"
#include "host/document.h"

namespace bm {

class BookmarkPlacer {
 public:
  BookmarkPlacer(zelta::IHostDocument* document, zelta::IHostBookmark* root)
      : document_(document), root_(root) {}

  // Makes the bookmark of one title at depth options.index with the options' appearance and
  // a go-to action to destination (whose fit type and flags are already the level's). A depth
  // below 1 makes nothing. A failing host call is returned; what was made stays in Created().
  zelta::HRESULT Place(const std::u16string& title, const LevelOptions& options,
                       const zelta::PageDestination& destination);

  // The top-level bookmarks made so far, in order.
  const BookmarkList& Created() const { return created_; }
  BookmarkList TakeCreated() { return std::move(created_); }

 private:
  zelta::HRESULT SetProperties(zelta::IHostBookmark* bookmark, const std::u16string& title,
                               const LevelOptions& options,
                               const zelta::PageDestination& destination);

  zelta::ComPtr<zelta::IHostDocument> document_;
  zelta::ComPtr<zelta::IHostBookmark> root_;
  zelta::ComPtr<zelta::IHostActionFactory> actions_;
  BookmarkList created_;
};

}  // namespace bm
