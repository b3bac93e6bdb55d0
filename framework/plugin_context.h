// What the plug-in's operations reach of the plug-in and its host: the host's services taken
// when the plug-in started, the options template and the plug-in's settings. The plug-in
// object implements it and hands itself to every operation it makes; an operation keeps a
// reference for its lifetime, so the services outlive the runs that use them.
#pragma once

#include <string>
#include <string_view>

#include "host/app.h"
#include "host/cab.h"
#include "host/com.h"
#include "host/selection.h"
#include "host/ui.h"

namespace bm {

class BookmarkOperation;

struct PluginContext : zelta::IUnknown {
  static constexpr zelta::Guid kIid{
      0x7B2C4E10, 0x5D31, 0x4A8F, {0x9E, 0x02, 0x6C, 0x11, 0xD4, 0x58, 0x3A, 0x01}};

  // The host application; null when the plug-in never had one.
  virtual zelta::IHostApp* App() const = 0;
  // The host's components ("UIX", "AUX", "ZLW", "ZLK"); null when the host has none.
  virtual zelta::IUiExtension* Ui() const = 0;
  virtual zelta::ICabFactory* Cabs() const = 0;
  virtual zelta::IWindowService* Windows() const = 0;
  virtual zelta::ISelectionService* Selections() const = 0;
  // A Cab with every item of a template root at its default; null when it cannot be made.
  virtual zelta::ComPtr<zelta::ICab> CreateCab(const char16_t* rootId) const = 0;
  // The text of a string id through the host ("bookmarksPlugin.cmd.name").
  virtual std::u16string LoadString(std::u16string_view id) const = 0;
  // The root dictionary of the plug-in's settings ("PluginRoot"); null when there is none.
  virtual zelta::ComPtr<zelta::ICabItem> SettingsRoot() const = 0;
  // The dotted settings path under which the host's preset control knows a preset list of
  // the settings ("AGBPresets" or "ToTOCPresets").
  virtual std::u16string PresetListPath(std::u16string_view listName) const = 0;
  // A fresh operation of the plug-in by its id ("op.bookmarks.autoGenerateFromText"), with one
  // reference; null for an id the plug-in has no operation for.
  virtual zelta::ComPtr<BookmarkOperation> CreateOperation(std::u16string_view id) = 0;

 protected:
  ~PluginContext() = default;
};

// Asks the host for one component by its three-letter name; null when it has none.
template <class T>
zelta::ComPtr<T> GetHostComponent(zelta::IHostApp* app, const char* name) {
  if (!app) return nullptr;
  zelta::ComPtr<zelta::IUnknown> component;
  if (app->GetComponent(name, component.Put()) != zelta::S_OK || !component) return nullptr;
  return zelta::QueryAs<T>(component.Get());
}

}  // namespace bm
