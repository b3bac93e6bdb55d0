#include "zelta/app/component_table.h"

#include <string_view>

namespace zelta::app {

void ComponentTable::Set(const std::string& name, ComPtr<IUnknown> component) {
  if (component)
    components_[name] = std::move(component);
  else
    components_.erase(name);
}

HRESULT ComponentTable::Get(const char* name, IUnknown** component) const {
  if (!component) return E_POINTER;
  *component = nullptr;
  if (!name) return S_FALSE;
  auto found = components_.find(std::string_view(name));
  if (found == components_.end()) return S_FALSE;
  return found->second.CopyTo(component);
}

}  // namespace zelta::app
