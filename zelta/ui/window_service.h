// The ZLW component: the headless host has one main window, which shows every open document.
#pragma once

#include <functional>

#include "host/ui.h"

namespace zelta::ui {

class WindowService : public ComObject<IWindowService> {
 public:
  // `isOpen` tells whether a document is open in the application; it must stay callable
  // for the life of the service (the app hands in a check that survives the app).
  explicit WindowService(std::function<bool(IHostDocument*)> isOpen) : isOpen_(std::move(isOpen)) {}

  HRESULT GetActiveWindow(WindowHandle* window) override;
  // The main window for an open document; 0 for a null or closed one.
  HRESULT GetDocumentWindow(IHostDocument* document, WindowHandle* window) override;

 private:
  std::function<bool(IHostDocument*)> isOpen_;
};

}  // namespace zelta::ui
