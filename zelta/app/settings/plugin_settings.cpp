#include "zelta/app/settings/plugin_settings.h"

#include "host/plugin.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

HRESULT PluginSettings::KeyOf(IUnknown* plugin, std::string* key) {
  if (!key) return E_POINTER;
  auto asPlugin = QueryAs<IPlugin>(plugin);
  if (!asPlugin) return E_INVALIDARG;
  Guid id{};
  HRESULT hr = asPlugin->GetID(&id);
  if (Failed(hr)) return hr;
  *key = base::GuidText(id);
  return S_OK;
}

HRESULT PluginSettings::Get(IUnknown* plugin, IHostSettings** settings) const {
  if (!settings) return E_POINTER;
  *settings = nullptr;
  std::string key;
  HRESULT hr = KeyOf(plugin, &key);
  if (Failed(hr)) return hr;
  if (!source_) return E_FAIL;
  ComPtr<IHostSettings> node = source_(key);
  if (!node) return E_FAIL;
  return node.CopyTo(settings);
}

}  // namespace zelta::app
