// The module's single export. Everything else in the module is hidden.
#include "host/plugin.h"

namespace bm {
zelta::HRESULT GetPluginObject(zelta::IUnknown* app, zelta::IPlugin** plugin);
}

extern "C" __attribute__((visibility("default"))) zelta::HRESULT ZELTA_GetPlugin(
    zelta::IUnknown* app, zelta::IPlugin** plugin) {
  return bm::GetPluginObject(app, plugin);
}
