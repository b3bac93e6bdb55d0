// The properties of bookmarks that "op.bookmarks.setProps" changes, and its undo item: the
// values before and after, applied by mask.
#pragma once

#include <string>
#include <vector>

#include "host/bookmark.h"
#include "host/undo.h"

namespace zelta::app {

struct BookmarkProps {
  std::u16string title;
  int32_t style = 0;
  uint32_t color = 0xFF000000u;
  bool hasColor = false;
  bool open = false;
  ComPtr<IHostActionList> actions;  // null: no actions
};

// Reads the properties chosen by `mask` (BookmarkPropMask bits).
HRESULT ReadProps(IHostBookmark* bookmark, int32_t mask, BookmarkProps* props);
// Writes the properties chosen by `mask`; goes on after a failure and answers the first.
HRESULT WriteProps(IHostBookmark* bookmark, int32_t mask, const BookmarkProps& props);

class BookmarkPropsUndo final : public ComObject<IUndoItem> {
 public:
  struct Entry {
    ComPtr<IHostBookmark> bookmark;
    BookmarkProps before;
    BookmarkProps after;
  };
  BookmarkPropsUndo(int32_t mask, std::vector<Entry> entries)
      : mask_(mask), entries_(std::move(entries)) {}

  HRESULT Undo() override { return Apply(false); }
  HRESULT Redo() override { return Apply(true); }

 private:
  ~BookmarkPropsUndo() override = default;
  HRESULT Apply(bool after);

  int32_t mask_;
  std::vector<Entry> entries_;
};

}  // namespace zelta::app
