// An operation that works on the whole outline or on a list of bookmarks: the bookmarks of
// its "Input" array, or a list its dialog collected.
#pragma once

#include <functional>

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

  // The run's bookmarks: the whole outline (*root is set) when the list is empty, else the
  // list, each entry with its subtree when IncludeSubBookmarks. *total counts what the run
  // visits. E_FAIL when the document has no outline root.
  zelta::HRESULT CountListed(zelta::ComPtr<zelta::IHostBookmark>* root, uint32_t* total);
  // Visits the run's bookmarks depth first in document order; stops at the first failure.
  zelta::HRESULT VisitListed(zelta::IHostBookmark* root,
                             const std::function<zelta::HRESULT(zelta::IHostBookmark*)>& process);

  // Ends a run (E_INVALIDARG) whose Flags ask, by sourceBit, for the selected bookmarks while
  // none is selected, with a message that names the option, its value and the bit.
  zelta::HRESULT FailOnEmptySelection(int32_t flags, int32_t sourceBit);

  BookmarkList bookmarks_;
  bool listFromDialog_ = false;
};

}  // namespace bm
