// A document's undo history: committed steps, the redo list and the stack of open groups.
#pragma once

#include <string>
#include <vector>

#include "host/undo.h"

namespace zelta::app {

class ChangeGroup;

class UndoHistory : public ComObject<IHostUndoHistory> {
 public:
  HRESULT BeginGroup(const char16_t* labelId, int32_t length, IHostChangeGroup** group) override;
  HRESULT GetUndoCount(int32_t* count) override;
  HRESULT GetRedoCount(int32_t* count) override;
  // E_INVALIDARG for an index outside the undo steps.
  HRESULT GetLabel(int32_t index, BString* labelId) override;
  // E_FAIL while a group is open: the step would interleave with changes in progress. A step
  // whose items fail part way is put back as it was (the items already reversed are applied
  // again) and stays where it was; the item's failure is returned.
  HRESULT Undo() override;
  HRESULT Redo() override;

  // The innermost open group, null when none: host operations add their items to it.
  ComPtr<IHostChangeGroup> OpenGroup() const;
  // Adds a change made outside any group of the caller: into the open group when there is
  // one, otherwise as a step of its own labelled `label`. Clears the redo list.
  HRESULT Record(std::u16string_view label, IUndoItem* item);
  // Forgets every step (after the document was saved and reloaded, or closed).
  void Clear();

 private:
  friend class ChangeGroup;
  struct Step {
    std::u16string label;
    std::vector<ComPtr<IUndoItem>> items;
  };

  // Called by a group as it closes; `group` must be open.
  HRESULT CloseGroup(ChangeGroup* group, bool commit);
  void CommitInto(ChangeGroup* group, size_t depth);
  static HRESULT UndoItems(const std::vector<ComPtr<IUndoItem>>& items);
  static HRESULT ApplyStep(Step& step, bool undo);

  std::vector<Step> undo_;
  std::vector<Step> redo_;
  std::vector<ChangeGroup*> open_;  // outermost first; groups remove themselves as they close
};

}  // namespace zelta::app
