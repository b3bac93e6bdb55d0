#include "zelta/app/plugin_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdio>

#include "host/call_guard.h"

namespace zelta::app {
namespace {

std::string HexResult(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
  return text;
}

std::string Resolved(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

}  // namespace

HRESULT PluginLoader::Load(const std::string& modulePath, IUnknown* app, ComPtr<IPlugin>* plugin,
                           std::string* error) {
  auto fail = [&](HRESULT hr, const std::string& why) {
    if (error) *error = "plug-in module '" + modulePath + "': " + why;
    return hr;
  };
  if (plugin) plugin->Reset();
  if (!app) return fail(E_INVALIDARG, "no application to attach to");
  if (modulePath.empty()) return fail(E_INVALIDARG, "empty module path");
  std::string resolved = Resolved(modulePath);
  for (auto& loaded : loaded_)
    if (loaded.path == resolved) return fail(E_INVALIDARG, "is loaded already");

  ::dlerror();
  void* handle = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    return fail(E_FAIL, std::string("cannot be loaded: ") + (why ? why : "unknown error"));
  }
  ::dlerror();
  auto entry = reinterpret_cast<GetPluginFn>(::dlsym(handle, kGetPluginSymbol));
  if (!entry) {
    const char* why = ::dlerror();
    std::string reason = why ? why : "symbol is null";  // dlclose frees the message
    ::dlclose(handle);                                  // none of its code ran beyond static set-up
    return fail(E_FAIL, std::string("has no ") + kGetPluginSymbol + ": " + reason);
  }

  ComPtr<IPlugin> created;
  HRESULT hr = GuardCall([&] { return entry(app, created.Put()); });
  if (Failed(hr)) return fail(hr, std::string(kGetPluginSymbol) + " failed with " + HexResult(hr));
  if (!created) return fail(E_FAIL, std::string(kGetPluginSymbol) + " gave no plug-in object");

  hr = GuardCall([&] { return created->Attach(app); });
  if (Failed(hr)) return fail(hr, "Attach failed with " + HexResult(hr));
  const char* step = "Initialize";
  hr = GuardCall([&] { return created->Initialize(); });
  if (Succeeded(hr)) {
    step = "Start";
    hr = GuardCall([&] { return created->Start(); });
  }
  if (Failed(hr)) {
    GuardCall([&] { return created->Shutdown(); });
    return fail(hr, std::string(step) + " failed with " + HexResult(hr));
  }
  loaded_.push_back(Loaded{resolved, created});
  if (plugin) *plugin = created;
  return S_OK;
}

void PluginLoader::ShutdownAll() {
  while (!loaded_.empty()) {
    ComPtr<IPlugin> plugin = std::move(loaded_.back().plugin);
    loaded_.pop_back();
    GuardCall([&] { return plugin->Shutdown(); });
  }
}

}  // namespace zelta::app
