// The host application behind the desktop window: settings, the application object and the
// Bookmarks module, started as the command line starts them.
#pragma once

#include <memory>
#include <string>

#include "zelta/app/host_app.h"
#include "zelta/app/settings/settings_store.h"

namespace zelta::desktop {

struct SessionOptions {
  std::string settingsPath;  // empty: the default location
  std::string modulePath;    // empty: $ZELTA_MODULE, beside the program, or the build folder
};

class DesktopSession {
 public:
  DesktopSession() = default;
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  // Starts the host and loads the module. False with *error saying why; warnings (a
  // settings file that was partly unreadable) go to *warnings.
  bool Start(const SessionOptions& options, std::string* error, std::string* warnings);
  // Writes the settings file (the modules' last used options); false with *error.
  bool SaveSettings(std::string* error);

  app::HostApp& App() { return *app_; }

 private:
  ComPtr<app::HostApp> app_;
  std::shared_ptr<app::SettingsStore> settings_;
};

// The module the desktop loads by default.
std::string DefaultModulePath();

}  // namespace zelta::desktop
