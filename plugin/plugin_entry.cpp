// The module's entry point behind the exported symbol.
#include "host/plugin.h"
#include "plugin/plugin_object.h"
#include "support/bookmarks_facility.h"

namespace bm {

zelta::HRESULT GetPluginObject(zelta::IUnknown* app, zelta::IPlugin** plugin) {
  // The module's result codes are described from the first call on; registering again is
  // harmless.
  support::RegisterBookmarksFacility(zelta::QueryAs<zelta::IHostApp>(app).Get());
  if (!plugin) return zelta::E_POINTER;
  *plugin = nullptr;
  // The host calls this under its guard, which turns an exception into a result.
  auto object = zelta::MakeCom<PluginObject>(app);
  // The ComPtr holds the first reference; the query hands out the caller's.
  return object->QueryInterface(zelta::IPlugin::kIid, reinterpret_cast<void**>(plugin));
}

}  // namespace bm
