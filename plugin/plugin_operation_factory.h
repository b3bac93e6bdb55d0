// Makes the plug-in's operations for the host's operation runner, by operation id.
#pragma once

#include "framework/plugin_context.h"
#include "host/operation.h"

namespace bm {

class PluginOperationFactory : public zelta::ComObject<zelta::IOperationFactory> {
 public:
  // plugin is a non-owning back-pointer; the plug-in cuts it with Detach before it goes.
  explicit PluginOperationFactory(PluginContext* plugin) : plugin_(plugin) {}

  // E_INVALIDARG for an id the plug-in has no operation for, E_FAIL once the plug-in is gone.
  zelta::HRESULT CreateOperation(zelta::Atom id, zelta::IHostOperation** operation) override;

  void Detach() { plugin_ = nullptr; }

 private:
  PluginContext* plugin_;
};

}  // namespace bm
