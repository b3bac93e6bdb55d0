#include "zelta/app/change_group.h"

#include "zelta/app/undo_history.h"

namespace zelta::app {

ChangeGroup::ChangeGroup(UndoHistory* history, std::u16string label)
    : historyRef_(history), history_(history), label_(std::move(label)) {}

ChangeGroup::~ChangeGroup() {
  if (open_) history_->CloseGroup(this, true);
}

HRESULT ChangeGroup::AddItem(IUndoItem* item) {
  if (!item) return E_INVALIDARG;
  if (!open_) return E_FAIL;
  items_.emplace_back(item);
  return S_OK;
}

HRESULT ChangeGroup::GetItemCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(items_.size());
  return S_OK;
}

HRESULT ChangeGroup::Commit() {
  if (!open_) return E_FAIL;
  ComPtr<IHostChangeGroup> keep(this);
  return history_->CloseGroup(this, true);
}

HRESULT ChangeGroup::Rollback() {
  if (!open_) return E_FAIL;
  ComPtr<IHostChangeGroup> keep(this);
  return history_->CloseGroup(this, false);
}

}  // namespace zelta::app
