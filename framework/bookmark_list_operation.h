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

  // The bit of the Flags option that asks for the selected bookmarks; 0 for an operation
  // whose run does not fail on an empty selection.
  virtual int32_t SelectedSourceBit() const { return 0; }
  // A run whose Flags ask for the selected bookmarks while none is selected ends with
  // E_INVALIDARG and a message that names the option, its value and the bit.
  zelta::HRESULT InputFailed(zelta::HRESULT hr) override;

  BookmarkList bookmarks_;
  bool listFromDialog_ = false;
  int32_t optionFlags_ = 0;  // the Flags option, as ReadInputs read it
};

}  // namespace bm
