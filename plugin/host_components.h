// The host's named components, taken on the first call of the entry point and kept for the
// life of the process: a second plug-in object of the same host reuses them. A process that
// runs more than one host application (the tests do) gets the table of the newest one, so
// that no component of a finished host is used with the documents of another.
#pragma once

#include "host/app.h"
#include "host/cab.h"
#include "host/com.h"
#include "host/files.h"
#include "host/selection.h"
#include "host/ui.h"

namespace bm {

struct HostComponentTable {
  zelta::ComPtr<zelta::IHostApp> app;
  zelta::ComPtr<zelta::ISelectionService> selection;  // "ZLK"
  zelta::ComPtr<zelta::IWindowService> windows;       // "ZLW"
  zelta::ComPtr<zelta::ICabFactory> cabs;             // "AUX"
  zelta::ComPtr<zelta::IFileService> files;           // "AFS"
  zelta::ComPtr<zelta::IUiExtension> ui;              // "UIX"
};

// The process-wide table; every member is null until FillHostComponents ran, and a component
// the host lacks stays null.
const HostComponentTable& HostComponents();

// Fills the table from the host application unless it already holds that application. A null
// or foreign object leaves the table as it is.
void FillHostComponents(zelta::IUnknown* app);

// Asks the host for one component by its three-letter name; null when it has none.
template <class T>
zelta::ComPtr<T> GetHostComponent(zelta::IHostApp* app, const char* name) {
  if (!app) return nullptr;
  zelta::ComPtr<zelta::IUnknown> component;
  if (app->GetComponent(name, component.Put()) != zelta::S_OK || !component) return nullptr;
  return zelta::QueryAs<T>(component.Get());
}

}  // namespace bm
