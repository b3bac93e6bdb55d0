// The settings nodes the host keeps for its plug-ins, keyed by each plug-in's identity.
#pragma once

#include <functional>
#include <string>

#include "host/settings.h"

namespace zelta::app {

class PluginSettings {
 public:
  // Gives the settings node stored under a key (null when the store cannot give one).
  using NodeSource = std::function<ComPtr<IHostSettings>(const std::string& key)>;

  void SetSource(NodeSource source) { source_ = std::move(source); }
  bool HasSource() const { return static_cast<bool>(source_); }

  // The node of a plug-in object (anything that answers IPlugin). E_INVALIDARG for a null
  // object or one that is not a plug-in; E_FAIL when no store is attached or it gives nothing.
  HRESULT Get(IUnknown* plugin, IHostSettings** settings) const;
  // The key of a plug-in: its GUID in upper case without braces.
  static HRESULT KeyOf(IUnknown* plugin, std::string* key);

 private:
  NodeSource source_;
};

}  // namespace zelta::app
