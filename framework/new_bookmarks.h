// The top-level bookmarks a creating run appended to the outline root: recorded as one
// added group in the run's undo step by Commit, or else taken out again when the guard goes
// (the run failed, was cancelled or was cut short by an exception), so that no half-built
// tree stays behind.
#pragma once

#include "framework/bookmark_list.h"
#include "host/app.h"

namespace bm {

class NewBookmarks {
 public:
  // Guards the list the run appends its new bookmarks to; the list outlives the guard.
  NewBookmarks(zelta::IHostApp* app, const BookmarkList& bookmarks)
      : app_(app), bookmarks_(bookmarks) {}
  // Takes every bookmark of the list out of the outline unless Commit succeeded, newest first
  // (each with its subtree).
  ~NewBookmarks();
  NewBookmarks(const NewBookmarks&) = delete;
  NewBookmarks& operator=(const NewBookmarks&) = delete;

  // Records the bookmarks as added at their places through the host operation
  // "op.bookmarks.addNew.simple", run with the run's change-group flag; they then stay. An
  // empty list records nothing (S_FALSE).
  zelta::HRESULT Commit(int32_t doFlags);

 private:
  zelta::HRESULT Record(int32_t doFlags) const;

  zelta::ComPtr<zelta::IHostApp> app_;
  const BookmarkList& bookmarks_;
  bool committed_ = false;
};

}  // namespace bm
