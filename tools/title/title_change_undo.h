// The undo record of the title tools: the bookmarks whose titles a run changed, with their
// old and new titles. Handed to the host's undo history inside the run's change group when
// the run succeeds; undone at once when the run fails or is cancelled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/bookmark.h"
#include "host/undo.h"

namespace bm {

class TitleChangeUndo : public zelta::ComObject<zelta::IUndoItem> {
 public:
  TitleChangeUndo() = default;

  // Room for n entries; E_OUTOFMEMORY when it cannot be made.
  zelta::HRESULT Reserve(size_t n);
  // Records one change; E_POINTER for a null bookmark, E_OUTOFMEMORY when memory runs out.
  zelta::HRESULT Add(zelta::IHostBookmark* bookmark, std::u16string_view oldTitle,
                     std::u16string_view newTitle);
  size_t Count() const { return entries_.size(); }

  // Sets every new title, in the order recorded.
  zelta::HRESULT Redo() override;
  // Sets every old title, newest change first, so that a bookmark changed twice ends with its
  // first title.
  zelta::HRESULT Undo() override;

 private:
  // The titles of all entries lie end to end in one buffer: a run over a large outline
  // records two titles per bookmark, which as strings of their own would be two allocations
  // each.
  struct Entry {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;
    size_t oldAt = 0, newAt = 0;  // in texts_
    size_t oldLength = 0, newLength = 0;
  };

  std::u16string_view Text(size_t at, size_t length) const {
    return std::u16string_view(texts_).substr(at, length);
  }
  // Applies one title. A bookmark taken out of the outline meanwhile is still given its title
  // (it may be put back), but a failure there does not count.
  static zelta::HRESULT SetTitle(const Entry& entry, std::u16string_view title);

  std::vector<Entry> entries_;
  std::u16string texts_;
};

}  // namespace bm
