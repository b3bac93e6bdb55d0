// One run of the zelta program: the host application, its settings and, when asked, the
// Bookmarks module loaded into it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/plugin.h"
#include "zelta/app/host_app.h"
#include "zelta/app/settings/settings_store.h"
#include "zelta/pdf/host_document.h"

namespace zelta::cli {

struct SessionOptions {
  std::string settingsPath;  // empty: the default location
  std::string modulePath;    // empty: beside the program, or $ZELTA_MODULE
  bool loadModule = true;
  bool quiet = false;  // no progress bar
  // The process ends soon after the session: the host and its documents are left to the
  // operating system instead of being taken apart one object at a time. The modules are
  // still shut down, and whatever is written is written before the session ends.
  bool leaveAtExit = false;
};

class Session {
 public:
  ~Session();

  // Starts the host (and the module). On failure prints why and returns false.
  bool Start(const SessionOptions& options);

  app::HostApp& App() { return *app_; }
  app::SettingsStore& Settings() { return *settings_; }
  IPlugin* Plugin() const { return plugin_.Get(); }

  // Opens a document and makes it active; prints the error and returns null on failure.
  ComPtr<pdf::HostDocument> Open(const std::string& path, const std::string& password);
  // The settings node of the module ("PluginRoot"), null when the module has none.
  ComPtr<ICabItem> PluginSettingsRoot();
  // Writes the settings file; prints the error and returns false on failure.
  bool SaveSettings();

  static std::string DefaultModulePath();

 private:
  ComPtr<app::HostApp> app_;
  std::shared_ptr<app::SettingsStore> settings_;
  ComPtr<IPlugin> plugin_;
  bool leaveAtExit_ = false;
};

// Prints "zelta: MESSAGE" on stderr.
void PrintError(const std::string& message);
std::string ToUtf8(std::u16string_view text);
std::u16string ToUtf16(std::string_view text);

}  // namespace zelta::cli
