// An operation that works on the whole outline or on a list of bookmarks: the bookmarks of
// its "Input" array, or a list its dialog collected.
#pragma once

#include "framework/bookmark_list.h"
#include "framework/bookmark_operation.h"

namespace bm {

class BookmarkListOperation : public BookmarkOperation {
 public:
  using BookmarkOperation::BookmarkOperation;

  // A bookmark list collected by the dialog; it replaces the bookmarks of "Input".
  void TakeSelectedBookmarks(BookmarkList list);

 protected:
  // The document element is taken as it is; each bookmark must belong to the run's document
  // and joins the list (standing for its subtree when IncludeSubBookmarks), unless the
  // dialog's list is used or the operation ignores input bookmarks.
  zelta::HRESULT CollectInput(zelta::IUnknown* element) override;
  virtual bool IncludeSubBookmarks() const = 0;
  virtual bool CollectsInputBookmarks() const { return true; }

  BookmarkList bookmarks_;
  bool listFromDialog_ = false;
};

}  // namespace bm
