// Loads plug-in modules and takes them through start-up and shutdown.
#pragma once

#include <string>
#include <vector>

#include "host/plugin.h"

namespace zelta::app {

class PluginLoader {
 public:
  PluginLoader() = default;
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // dlopen (RTLD_NOW | RTLD_LOCAL), the module's ZELTA_GetPlugin with `app`, then Attach,
  // Initialize and Start. Every error names the module and the step that failed. A module is
  // never unloaded once its code ran: its objects and process-wide tables may outlive the
  // plug-in object. Loading the same file twice is refused.
  HRESULT Load(const std::string& modulePath, IUnknown* app, ComPtr<IPlugin>* plugin,
               std::string* error);
  // Calls Shutdown on every plug-in, last loaded first, and releases them.
  void ShutdownAll();

  size_t Count() const { return loaded_.size(); }
  ComPtr<IPlugin> Plugin(size_t index) const { return loaded_[index].plugin; }

 private:
  struct Loaded {
    std::string path;  // as resolved, to recognise the same file
    ComPtr<IPlugin> plugin;
  };
  std::vector<Loaded> loaded_;
};

}  // namespace zelta::app
