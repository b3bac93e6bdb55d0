#include "tools/title/title_change_undo.h"

namespace bm {

using zelta::HRESULT;

HRESULT TitleChangeUndo::Reserve(size_t n) {
  entries_.reserve(n);
  return zelta::S_OK;
}

HRESULT TitleChangeUndo::Add(zelta::IHostBookmark* bookmark, std::u16string oldTitle,
                             std::u16string newTitle) {
  if (!bookmark) return zelta::E_POINTER;
  entries_.push_back(Entry{bookmark, std::move(oldTitle), std::move(newTitle)});
  return zelta::S_OK;
}

HRESULT TitleChangeUndo::SetTitle(const Entry& entry, const std::u16string& title) {
  HRESULT hr = entry.bookmark->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
  if (zelta::Succeeded(hr)) return zelta::S_OK;
  bool attached = true;
  if (zelta::Succeeded(entry.bookmark->IsAttached(&attached)) && !attached) return zelta::S_OK;
  return hr;
}

// Both directions go through every entry even after a failure, so that one bookmark that
// refuses its title does not leave the others half restored; the first failure is returned.
HRESULT TitleChangeUndo::Redo() {
  HRESULT result = zelta::S_OK;
  for (const Entry& entry : entries_) {
    HRESULT hr = SetTitle(entry, entry.newTitle);
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

HRESULT TitleChangeUndo::Undo() {
  HRESULT result = zelta::S_OK;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    HRESULT hr = SetTitle(*it, it->oldTitle);
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

}  // namespace bm
