#include "plugin/plugin_operation_factory.h"

#include "plugin/operation_table.h"

namespace bm {

zelta::HRESULT PluginOperationFactory::CreateOperation(zelta::Atom id,
                                                       zelta::IHostOperation** operation) {
  if (!operation) return zelta::E_POINTER;
  *operation = nullptr;
  if (!plugin_) return zelta::E_FAIL;
  auto created = CreateOperationByAtom(id, plugin_);
  if (!created) return zelta::E_INVALIDARG;
  return created.CopyTo(operation);
}

}  // namespace bm
