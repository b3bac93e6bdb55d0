#include "zelta/ui/command_bar.h"

namespace zelta::ui {

HRESULT CommandBar::GetId(Atom* id) {
  if (!id) return E_POINTER;
  *id = id_;
  return S_OK;
}

HRESULT CommandBar::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(items_.size());
  return S_OK;
}

HRESULT CommandBar::GetItem(int32_t position, ICommandBarItem** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (position < 0 || static_cast<size_t>(position) >= items_.size()) return S_FALSE;
  return ComPtr<ICommandBarItem>(items_[position]).CopyTo(item);
}

HRESULT CommandBar::FindItem(Atom command, ICommandBarItem** item, int32_t* position) {
  if (item) *item = nullptr;
  if (position) *position = -1;
  if (command == kNoAtom) return S_FALSE;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->Command() != command) continue;
    if (item) ComPtr<ICommandBarItem>(items_[i]).CopyTo(item);
    if (position) *position = static_cast<int32_t>(i);
    return S_OK;
  }
  return S_FALSE;
}

HRESULT CommandBar::InsertCommand(int32_t position, Atom command, int32_t style, int32_t mask,
                                  ICommandBarItem** item) {
  if (item) *item = nullptr;
  if (command == kNoAtom) return E_INVALIDARG;
  auto created = MakeCom<CommandBarItem>(command, style & mask);
  HRESULT hr = Insert(position, created);
  if (Failed(hr)) return hr;
  if (item) ComPtr<ICommandBarItem>(created).CopyTo(item);
  return S_OK;
}

HRESULT CommandBar::InsertSeparator(int32_t position) {
  return Insert(position, MakeCom<CommandBarItem>(kNoAtom, 0));
}

HRESULT CommandBar::RemoveAt(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= items_.size()) return E_INVALIDARG;
  auto removed = items_[position];  // released after the list no longer holds it
  items_.erase(items_.begin() + position);
  return S_OK;
}

HRESULT CommandBar::Clear() {
  auto removed = std::move(items_);
  items_.clear();
  return S_OK;
}

HRESULT CommandBar::Insert(int32_t position, ComPtr<CommandBarItem> item) {
  if (position == -1) position = static_cast<int32_t>(items_.size());
  if (position < 0 || static_cast<size_t>(position) > items_.size()) return E_INVALIDARG;
  items_.insert(items_.begin() + position, std::move(item));
  return S_OK;
}

}  // namespace zelta::ui
