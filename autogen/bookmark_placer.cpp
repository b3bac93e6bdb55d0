#include "autogen/bookmark_placer.h"

#include <algorithm>

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

HRESULT NewLastChild(IHostBookmark* parent, ComPtr<IHostBookmark>* child) {
  HRESULT hr = parent->InsertNewChild(-1, child->Put());
  if (zelta::Succeeded(hr) && !*child) hr = zelta::E_FAIL;
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

}  // namespace

HRESULT BookmarkPlacer::SetProperties(IHostBookmark* bookmark, const std::u16string& title,
                                      const LevelOptions& options,
                                      const zelta::PageDestination& destination) {
  HRESULT hr = bookmark->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
  if (zelta::Succeeded(hr)) hr = bookmark->SetStyle(options.appearance.style & 3);
  if (zelta::Succeeded(hr)) hr = bookmark->SetOpen(options.appearance.expand);
  if (zelta::Succeeded(hr))
    hr = bookmark->SetColor(options.appearance.color, options.appearance.hasColor);
  if (zelta::Failed(hr)) return hr;
  if (!actions_) {
    hr = document_->GetActionFactory(actions_.Put());
    if (zelta::Succeeded(hr) && !actions_) hr = zelta::E_FAIL;
    if (zelta::Failed(hr)) return hr;
  }
  ComPtr<zelta::IHostAction> action;
  hr = actions_->CreateGoTo(&destination, action.Put());
  if (zelta::Succeeded(hr) && !action) hr = zelta::E_FAIL;
  if (zelta::Succeeded(hr)) hr = bookmark->AppendAction(action.Get());
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

HRESULT BookmarkPlacer::Place(const std::u16string& title, const LevelOptions& options,
                              const zelta::PageDestination& destination) {
  const int32_t depth = options.index;
  if (depth < 1) return zelta::S_OK;
  if (!document_ || !root_) return zelta::E_FAIL;
  // Room for one more top-level bookmark before anything is made (growing geometrically).
  if (created_.size() == created_.capacity())
    created_.reserve(std::max<size_t>(16, created_.size() * 2));
  ComPtr<IHostBookmark> current;
  if (depth == 1 || created_.empty()) {
    // A new top-level bookmark, with untitled ones down to the title's depth.
    ComPtr<IHostBookmark> top;
    HRESULT hr = NewLastChild(root_.Get(), &top);
    if (zelta::Failed(hr)) return hr;
    created_.push_back(top);
    current = top;
    for (int32_t d = 2; d <= depth; ++d) {
      ComPtr<IHostBookmark> child;
      hr = NewLastChild(current.Get(), &child);
      if (zelta::Failed(hr)) return hr;
      current = child;
    }
    return SetProperties(current.Get(), title, options, destination);
  }
  current = created_.back();
  for (int32_t d = 2; d < depth; ++d) {
    ComPtr<IHostBookmark> last;
    HRESULT hr = current->GetLastChild(last.Put());
    if (zelta::Failed(hr)) return hr;
    if (!last) {
      hr = NewLastChild(current.Get(), &last);
      if (zelta::Failed(hr)) return hr;
    }
    current = last;
  }
  ComPtr<IHostBookmark> child;
  HRESULT hr = NewLastChild(current.Get(), &child);
  if (zelta::Failed(hr)) return hr;
  return SetProperties(child.Get(), title, options, destination);
}

}  // namespace bm
