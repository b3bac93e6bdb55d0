// The undo record of Convert To Named Destinations: for each converted bookmark, which of its
// actions was converted, the explicit destination it had, and the name it now uses; the
// names the run created are exactly those of the entries.
#pragma once

#include <string>
#include <vector>

#include "host/action.h"
#include "host/bookmark.h"
#include "host/document.h"
#include "host/undo.h"

namespace bm {

class NamedDestUndo : public zelta::ComObject<zelta::IUndoItem> {
 public:
  explicit NamedDestUndo(zelta::IHostDocument* document) : document_(document) {}

  // Room for n entries; E_OUTOFMEMORY when it cannot be made.
  zelta::HRESULT Reserve(size_t n);
  // Records one conversion; E_POINTER for a null bookmark, E_OUTOFMEMORY.
  zelta::HRESULT Add(zelta::IHostBookmark* bookmark, int32_t actionIndex,
                     const zelta::PageDestination& oldDestination, std::u16string name);
  size_t Count() const { return entries_.size(); }
  // The names created, in the order of the conversions.
  std::vector<std::u16string> Names() const;

  // Makes each recorded action use its name again and adds the names back to the document.
  // E_INVALIDARG when a recorded action is no longer a "GoTo" at its place.
  zelta::HRESULT Redo() override;
  // Gives each recorded action its explicit destination back and removes the created names,
  // newest first.
  zelta::HRESULT Undo() override;

 private:
  struct Entry {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;
    int32_t actionIndex = 0;
    zelta::PageDestination oldDestination;
    std::u16string name;
  };

  // The bookmark's action list and its recorded "GoTo" action.
  static zelta::HRESULT RecordedAction(const Entry& entry,
                                       zelta::ComPtr<zelta::IHostActionList>* list,
                                       zelta::ComPtr<zelta::IHostAction>* action);
  zelta::HRESULT RedoEntry(const Entry& entry);
  zelta::HRESULT UndoEntry(const Entry& entry);

  zelta::ComPtr<zelta::IHostDocument> document_;
  std::vector<Entry> entries_;
};

}  // namespace bm
