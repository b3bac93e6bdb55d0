#include "tools/title/named_dest_undo.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

HRESULT NamedDestUndo::Reserve(size_t n) {
  entries_.reserve(n);
  return zelta::S_OK;
}

HRESULT NamedDestUndo::Add(zelta::IHostBookmark* bookmark, int32_t actionIndex,
                           const zelta::PageDestination& oldDestination, std::u16string name) {
  if (!bookmark) return zelta::E_POINTER;
  entries_.push_back(Entry{bookmark, actionIndex, oldDestination, std::move(name)});
  return zelta::S_OK;
}

std::vector<std::u16string> NamedDestUndo::Names() const {
  std::vector<std::u16string> names;
  names.reserve(entries_.size());
  for (const Entry& entry : entries_) names.push_back(entry.name);
  return names;
}

HRESULT NamedDestUndo::RecordedAction(const Entry& entry, ComPtr<zelta::IHostActionList>* list,
                                      ComPtr<zelta::IHostAction>* action) {
  HRESULT hr = entry.bookmark->GetActions(list->Put());
  if (zelta::Failed(hr)) return hr;
  if (!*list || (*list)->GetItem(entry.actionIndex, action->Put()) != zelta::S_OK || !*action)
    return zelta::E_INVALIDARG;
  int32_t type = zelta::kActionOther;
  if (zelta::Failed((*action)->GetType(&type)) || type != zelta::kActionGoTo)
    return zelta::E_INVALIDARG;
  return zelta::S_OK;
}

HRESULT NamedDestUndo::RedoEntry(const Entry& entry) {
  ComPtr<zelta::IHostActionList> list;
  ComPtr<zelta::IHostAction> action;
  HRESULT hr = RecordedAction(entry, &list, &action);
  if (zelta::Failed(hr)) return hr;
  const auto length = static_cast<int32_t>(entry.name.size());
  hr = document_->AddNamedDest(entry.name.c_str(), length, &entry.oldDestination);
  if (zelta::Succeeded(hr)) hr = action->SetDestinationName(entry.name.c_str(), length);
  if (zelta::Succeeded(hr)) hr = entry.bookmark->SetActions(list.Get());
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

HRESULT NamedDestUndo::UndoEntry(const Entry& entry) {
  ComPtr<zelta::IHostActionList> list;
  ComPtr<zelta::IHostAction> action;
  HRESULT hr = RecordedAction(entry, &list, &action);
  if (zelta::Succeeded(hr)) hr = action->SetDestination(&entry.oldDestination);
  if (zelta::Succeeded(hr)) hr = entry.bookmark->SetActions(list.Get());
  // The name goes even when the action could not be restored: the run created it.
  HRESULT removed =
      document_->RemoveNamedDest(entry.name.c_str(), static_cast<int32_t>(entry.name.size()));
  if (zelta::Succeeded(hr) && zelta::Failed(removed)) hr = removed;
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

// Both directions go through every entry even after a failure, so one damaged bookmark does
// not leave the others half converted; the first failure is returned.
HRESULT NamedDestUndo::Redo() {
  if (!document_) return zelta::E_FAIL;
  HRESULT result = zelta::S_OK;
  for (const Entry& entry : entries_) {
    HRESULT hr = RedoEntry(entry);
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

HRESULT NamedDestUndo::Undo() {
  if (!document_) return zelta::E_FAIL;
  HRESULT result = zelta::S_OK;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    HRESULT hr = UndoEntry(*it);
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

}  // namespace bm
