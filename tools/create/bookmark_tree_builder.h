// Makes the bookmarks of parsed text-file lines: each line goes under the nearest open
// bookmark with a smaller indent (a level stack, so indents are relative) and gets its title,
// style, colour, actions and open state. Only new bookmarks are touched; the top-level ones
// are kept so that the run can record them or take them out again.
#pragma once

#include <string>
#include <vector>

#include "framework/bookmark_list.h"
#include "host/color.h"
#include "host/document.h"
#include "tools/create/bookmark_line.h"

namespace bm {

class BookmarkTreeBuilder {
 public:
  // colors may be null: colour fields then do nothing.
  BookmarkTreeBuilder(zelta::IHostDocument* document, zelta::IHostBookmark* root,
                      zelta::IColorService* colors);

  // Makes the bookmark of one line. A failing host call ends the line and is returned; an
  // action or colour the host refuses is left out and noted.
  zelta::HRESULT Add(const BookmarkLine& line);

  // The new top-level bookmarks, in order.
  const BookmarkList& Created() const { return created_; }
  // What was left out of the lines made so far.
  const std::vector<ParseNote>& Notes() const { return notes_; }
  // Why the last Add failed on the line itself (empty when the host failed).
  const std::u16string& Failure() const { return failure_; }

 private:
  zelta::HRESULT Parent(size_t indent, zelta::ComPtr<zelta::IHostBookmark>* parent);
  zelta::HRESULT AppendAction(zelta::IHostActionList* list, const LineAction& action);
  void Note(const BookmarkLine& line, std::u16string text);

  zelta::ComPtr<zelta::IHostDocument> document_;
  zelta::ComPtr<zelta::IHostBookmark> root_;
  zelta::ComPtr<zelta::IColorService> colors_;
  int32_t pageCount_ = 0;
  struct Open {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;
    int64_t indent;
  };
  std::vector<Open> stack_;  // indents rise strictly from the root's -1
  BookmarkList created_;
  std::vector<ParseNote> notes_;
  std::u16string failure_;
};

}  // namespace bm
