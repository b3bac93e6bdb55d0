// The undo item of the host operations that take bookmarks out, put them in or move them:
// the bookmarks with their places before and after the change.
#pragma once

#include <vector>

#include "host/undo.h"
#include "zelta/app/host_operations/host_operation_placement.h"

namespace zelta::app {

class BookmarkPlacementUndo final : public ComObject<IUndoItem> {
 public:
  BookmarkPlacementUndo(std::vector<ComPtr<IHostBookmark>> bookmarks, BookmarkPlaces before,
                        BookmarkPlaces after)
      : bookmarks_(std::move(bookmarks)), before_(std::move(before)), after_(std::move(after)) {}

  HRESULT Undo() override { return ApplyPlaces(bookmarks_, before_); }
  HRESULT Redo() override { return ApplyPlaces(bookmarks_, after_); }

 private:
  ~BookmarkPlacementUndo() override = default;

  std::vector<ComPtr<IHostBookmark>> bookmarks_;
  BookmarkPlaces before_;
  BookmarkPlaces after_;
};

}  // namespace zelta::app
