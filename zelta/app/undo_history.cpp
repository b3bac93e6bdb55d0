#include "zelta/app/undo_history.h"

#include <algorithm>

#include "host/call_guard.h"
#include "zelta/app/change_group.h"

namespace zelta::app {

HRESULT UndoHistory::BeginGroup(const char16_t* labelId, int32_t length, IHostChangeGroup** group) {
  if (!group) return E_POINTER;
  *group = nullptr;
  if (length < -1) return E_INVALIDARG;
  auto created = MakeCom<ChangeGroup>(this, std::u16string(InString(labelId, length)));
  open_.push_back(created.Get());
  return ComPtr<IHostChangeGroup>(created).CopyTo(group);
}

HRESULT UndoHistory::GetUndoCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(undo_.size());
  return S_OK;
}

HRESULT UndoHistory::GetRedoCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(redo_.size());
  return S_OK;
}

HRESULT UndoHistory::GetLabel(int32_t index, BString* labelId) {
  if (!labelId) return E_POINTER;
  *labelId = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= undo_.size()) return E_INVALIDARG;
  return ReturnString(undo_[index].label, labelId);
}

HRESULT UndoHistory::Undo() {
  if (!open_.empty()) return E_FAIL;
  if (undo_.empty()) return S_FALSE;
  HRESULT hr = ApplyStep(undo_.back(), true);
  if (Failed(hr)) return hr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  return S_OK;
}

HRESULT UndoHistory::Redo() {
  if (!open_.empty()) return E_FAIL;
  if (redo_.empty()) return S_FALSE;
  HRESULT hr = ApplyStep(redo_.back(), false);
  if (Failed(hr)) return hr;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return S_OK;
}

ComPtr<IHostChangeGroup> UndoHistory::OpenGroup() const {
  if (open_.empty()) return nullptr;
  return ComPtr<IHostChangeGroup>(open_.back());
}

HRESULT UndoHistory::Record(std::u16string_view label, IUndoItem* item) {
  if (!item) return E_INVALIDARG;
  if (!open_.empty()) return open_.back()->AddItem(item);
  undo_.push_back(Step{std::u16string(label), {ComPtr<IUndoItem>(item)}});
  redo_.clear();
  return S_OK;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

HRESULT UndoHistory::CloseGroup(ChangeGroup* group, bool commit) {
  auto found = std::find(open_.begin(), open_.end(), group);
  if (found == open_.end()) return E_FAIL;
  size_t depth = static_cast<size_t>(found - open_.begin());

  // Inner groups left open by their owner: their changes are in the document already, so
  // they go where this group's changes go.
  HRESULT hr = S_OK;
  for (size_t k = open_.size() - 1; k > depth; --k) {
    ChangeGroup* inner = open_[k];
    if (commit) {
      CommitInto(inner, k);
    } else {
      HRESULT undone = UndoItems(inner->items_);
      if (Succeeded(hr)) hr = undone;
    }
    inner->open_ = false;
    inner->items_.clear();
    open_.pop_back();
  }

  group->open_ = false;
  open_.pop_back();
  auto items = std::move(group->items_);
  group->items_.clear();
  if (!commit) {
    HRESULT undone = UndoItems(items);
    return Succeeded(hr) ? undone : hr;
  }
  if (items.empty()) return S_FALSE;
  if (depth > 0) {
    auto& outer = open_[depth - 1]->items_;
    outer.insert(outer.end(), items.begin(), items.end());
  } else {
    undo_.push_back(Step{group->label_, std::move(items)});
    redo_.clear();
  }
  return S_OK;
}

void UndoHistory::CommitInto(ChangeGroup* group, size_t depth) {
  auto& outer = open_[depth - 1]->items_;
  outer.insert(outer.end(), group->items_.begin(), group->items_.end());
}

HRESULT UndoHistory::UndoItems(const std::vector<ComPtr<IUndoItem>>& items) {
  HRESULT first = S_OK;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    HRESULT hr = GuardCall([&] { return (*it)->Undo(); });
    if (Failed(hr) && Succeeded(first)) first = hr;
  }
  return first;
}

HRESULT UndoHistory::ApplyStep(Step& step, bool undo) {
  auto& items = step.items;
  size_t n = items.size();
  for (size_t i = 0; i < n; ++i) {
    // Undo runs newest first, redo oldest first.
    size_t index = undo ? n - 1 - i : i;
    // Items may come from a module: no exception crosses back.
    HRESULT hr = GuardCall([&] { return undo ? items[index]->Undo() : items[index]->Redo(); });
    if (Failed(hr)) {
      // Put back the items already handled, in the opposite order, so the step stays whole.
      for (size_t j = i; j-- > 0;) {
        size_t back = undo ? n - 1 - j : j;
        GuardCall([&] { return undo ? items[back]->Redo() : items[back]->Undo(); });
      }
      return hr;
    }
  }
  return S_OK;
}

}  // namespace zelta::app
