// The ZLW component: the headless host has one main window, which shows every open document.
#pragma once

#include <functional>
#include <map>

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
  // The view rotation set for an open document (0 unless set).
  HRESULT GetViewRotation(IHostDocument* document, int32_t* degrees) override;
  // Turns the view of a document: degrees are normalised to 0, 90, 180 or 270 (E_INVALIDARG
  // for a value that is not a multiple of 90).
  HRESULT SetViewRotation(IHostDocument* document, int32_t degrees);

 private:
  std::function<bool(IHostDocument*)> isOpen_;
  // Not owning: an entry only counts while its document is open.
  std::map<IHostDocument*, int32_t> rotations_;
};

}  // namespace zelta::ui
