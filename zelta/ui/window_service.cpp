#include "zelta/ui/window_service.h"

#include "zelta/base/event_server.h"

namespace zelta::ui {

HRESULT WindowService::GetActiveWindow(WindowHandle* window) {
  if (!window) return E_POINTER;
  *window = base::kMainWindow;
  return S_OK;
}

HRESULT WindowService::GetDocumentWindow(IHostDocument* document, WindowHandle* window) {
  if (!window) return E_POINTER;
  *window = document && isOpen_ && isOpen_(document) ? base::kMainWindow : 0;
  return *window ? S_OK : S_FALSE;
}

HRESULT WindowService::GetViewRotation(IHostDocument* document, int32_t* degrees) {
  if (!degrees) return E_POINTER;
  *degrees = 0;
  if (!document || !isOpen_ || !isOpen_(document)) return S_FALSE;
  auto found = rotations_.find(document);
  if (found != rotations_.end()) *degrees = found->second;
  return S_OK;
}

HRESULT WindowService::SetViewRotation(IHostDocument* document, int32_t degrees) {
  if (!document || !isOpen_ || !isOpen_(document)) return E_INVALIDARG;
  if (degrees % 90 != 0) return E_INVALIDARG;
  // Erase stale entries of documents that were closed, so a new document at a reused
  // address starts unturned.
  for (auto it = rotations_.begin(); it != rotations_.end();)
    it = isOpen_(it->first) ? std::next(it) : rotations_.erase(it);
  rotations_[document] = ((degrees % 360) + 360) % 360;
  return S_OK;
}

}  // namespace zelta::ui
