// The top-level bookmarks a creating run appended to the outline root: recorded as one
// added group in the run's undo step, or taken out again when the run fails or is cancelled,
// so that no half-built tree stays behind.
#pragma once

#include "framework/bookmark_list.h"
#include "host/app.h"

namespace bm {

class NewBookmarks {
 public:
  explicit NewBookmarks(zelta::IHostApp* app) : app_(app) {}

  // Records the bookmarks as added at their places through the host operation
  // "op.bookmarks.addNew.simple", run with the run's change-group flag. An empty list records
  // nothing (S_FALSE).
  zelta::HRESULT Record(const BookmarkList& bookmarks, int32_t doFlags) const;

  // Takes every bookmark of the list out of the outline, newest first (each with its subtree).
  static void RemoveAll(const BookmarkList& bookmarks);

 private:
  zelta::ComPtr<zelta::IHostApp> app_;
};

}  // namespace bm
