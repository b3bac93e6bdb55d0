#include "zelta/ui/window_service.h"

#include "zelta/app/event_server.h"

namespace zelta::ui {

HRESULT WindowService::GetActiveWindow(WindowHandle* window) {
  if (!window) return E_POINTER;
  *window = app::kMainWindow;
  return S_OK;
}

HRESULT WindowService::GetDocumentWindow(IHostDocument* document, WindowHandle* window) {
  if (!window) return E_POINTER;
  *window = document && isOpen_ && isOpen_(document) ? app::kMainWindow : 0;
  return *window ? S_OK : S_FALSE;
}

}  // namespace zelta::ui
