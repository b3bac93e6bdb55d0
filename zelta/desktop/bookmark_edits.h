// The bookmarks panel's own edits, each one undo step: they run the host's bookmark
// operations, which record what they change in the document's history.
#pragma once

#include <string>
#include <vector>

#include "host/action.h"
#include "host/bookmark.h"
#include "zelta/app/host_app.h"

namespace zelta::desktop {

class BookmarkEdits {
 public:
  BookmarkEdits(app::HostApp& app, IHostDocument* document) : app_(app), document_(document) {}

  HRESULT Rename(IHostBookmark* bookmark, std::u16string_view title);
  // Deletes the bookmarks with their subtrees.
  HRESULT Delete(const std::vector<ComPtr<IHostBookmark>>& bookmarks);
  // Moves the bookmarks, in their order, under `parent` (null: the top level) before
  // `before` (null: at the end). E_INVALIDARG when a bookmark would move into itself.
  HRESULT Move(const std::vector<ComPtr<IHostBookmark>>& bookmarks, IHostBookmark* parent,
               IHostBookmark* before);
  // A new bookmark titled `title` that goes to the destination, placed after `after` (null:
  // at the end of the top level). *made receives it.
  HRESULT AddAfter(IHostBookmark* after, std::u16string_view title, const PageDestination& target,
                   ComPtr<IHostBookmark>* made);

  // Where a bookmark goes: its first GoTo action's destination. False when it has none.
  static bool Destination(IHostBookmark* bookmark, PageDestination* target);

 private:
  HRESULT Run(const char* operationId, const std::vector<ComPtr<IHostBookmark>>& input,
              ICabItem** options, ComPtr<IHostOperation>* operation);

  app::HostApp& app_;
  IHostDocument* document_;
};

}  // namespace zelta::desktop
