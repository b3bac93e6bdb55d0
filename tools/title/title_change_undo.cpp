#include "tools/title/title_change_undo.h"

#include <new>
#include <stdexcept>

namespace bm {

using zelta::HRESULT;

HRESULT TitleChangeUndo::Reserve(size_t n) {
  try {
    entries_.reserve(n);
  } catch (const std::bad_alloc&) {
    return zelta::E_OUTOFMEMORY;
  } catch (const std::length_error&) {
    return zelta::E_OUTOFMEMORY;
  }
  return zelta::S_OK;
}

HRESULT TitleChangeUndo::Add(zelta::IHostBookmark* bookmark, std::u16string_view oldTitle,
                             std::u16string_view newTitle) {
  if (!bookmark) return zelta::E_POINTER;
  const size_t textsBefore = texts_.size();
  try {
    Entry entry{bookmark, textsBefore, textsBefore + oldTitle.size(), oldTitle.size(),
                newTitle.size()};
    texts_.append(oldTitle).append(newTitle);
    entries_.push_back(std::move(entry));
  } catch (const std::bad_alloc&) {
    texts_.resize(textsBefore);
    return zelta::E_OUTOFMEMORY;
  } catch (const std::length_error&) {
    texts_.resize(textsBefore);
    return zelta::E_OUTOFMEMORY;
  }
  return zelta::S_OK;
}

HRESULT TitleChangeUndo::SetTitle(const Entry& entry, std::u16string_view title) {
  HRESULT hr = entry.bookmark->SetTitle(title.data(), static_cast<int32_t>(title.size()));
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
    HRESULT hr = SetTitle(entry, Text(entry.newAt, entry.newLength));
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

HRESULT TitleChangeUndo::Undo() {
  HRESULT result = zelta::S_OK;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    HRESULT hr = SetTitle(*it, Text(it->oldAt, it->oldLength));
    if (zelta::Failed(hr) && zelta::Succeeded(result)) result = hr;
  }
  return result;
}

}  // namespace bm
