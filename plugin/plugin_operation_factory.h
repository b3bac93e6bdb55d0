// Makes the plug-in's operations for the host's operation runner, by operation id.
#pragma once

#include "host/operation.h"

namespace bm {

class PluginObject;

class PluginOperationFactory : public zelta::ComObject<zelta::IOperationFactory> {
 public:
  // plugin is a non-owning back-pointer; the plug-in cuts it with Detach before it goes.
  explicit PluginOperationFactory(PluginObject* plugin) : plugin_(plugin) {}

  // E_INVALIDARG for an id the plug-in has no operation for, E_FAIL once the plug-in is gone.
  zelta::HRESULT CreateOperation(zelta::Atom id, zelta::IHostOperation** operation) override;

  void Detach() { plugin_ = nullptr; }

 private:
  PluginObject* plugin_;
};

}  // namespace bm
