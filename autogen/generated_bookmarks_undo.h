// The undo record of a generation run: the top-level bookmarks it appended to the outline
// root (each with the subtree the run built under it). Undo takes them out, newest first;
// redo appends them again in their order, which is where they were, since later steps are
// undone before this one.
#pragma once

#include <vector>

#include "framework/bookmark_list.h"
#include "host/undo.h"

namespace bm {

class GeneratedBookmarksUndo : public zelta::ComObject<zelta::IUndoItem> {
 public:
  GeneratedBookmarksUndo(zelta::IHostBookmark* root, BookmarkList created)
      : root_(root), created_(std::move(created)) {}

  zelta::HRESULT Undo() override;
  zelta::HRESULT Redo() override;

  // Takes every bookmark of the list out of the outline, newest first; the first failure is
  // returned after the rest were tried.
  static zelta::HRESULT RemoveAll(const BookmarkList& created);

 private:
  zelta::ComPtr<zelta::IHostBookmark> root_;
  BookmarkList created_;
};

}  // namespace bm
