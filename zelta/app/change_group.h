// One undo step in the making.
#pragma once

#include <string>
#include <vector>

#include "host/undo.h"

namespace zelta::app {

class UndoHistory;

// A change group of an UndoHistory. While open it is the history's innermost group or one
// of its outer groups; it closes once, by Commit or Rollback. A group released while still
// open commits itself, so that changes already made to the document stay undoable.
class ChangeGroup : public ComObject<IHostChangeGroup> {
 public:
  ChangeGroup(UndoHistory* history, std::u16string label);

  // E_FAIL once the group is closed; E_INVALIDARG for a null item.
  HRESULT AddItem(IUndoItem* item) override;
  HRESULT GetItemCount(int32_t* count) override;
  // Inner groups still open are committed into this one first. E_FAIL when already closed.
  HRESULT Commit() override;
  // Inner groups still open are rolled back first. Every item is undone, newest first, even
  // after a failure; the first failure is returned. E_FAIL when already closed.
  HRESULT Rollback() override;

  bool IsOpen() const { return open_; }
  const std::u16string& Label() const { return label_; }

 protected:
  ~ChangeGroup() override;

 private:
  friend class UndoHistory;

  ComPtr<IHostUndoHistory> historyRef_;  // keeps the history alive while the group lives
  UndoHistory* history_;
  std::u16string label_;
  std::vector<ComPtr<IUndoItem>> items_;
  bool open_ = true;
};

}  // namespace zelta::app
