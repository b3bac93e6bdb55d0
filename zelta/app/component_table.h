// The application's named components ("ZLK", "ZLW", "AUX", "AFS", "UIX").
#pragma once

#include <map>
#include <string>

#include "host/com.h"

namespace zelta::app {

class ComponentTable {
 public:
  // Adds or replaces a component; a null object removes the name.
  void Set(const std::string& name, ComPtr<IUnknown> component);
  // S_FALSE and null for an unknown or null name.
  HRESULT Get(const char* name, IUnknown** component) const;
  void Clear() { components_.clear(); }

 private:
  std::map<std::string, ComPtr<IUnknown>, std::less<>> components_;
};

}  // namespace zelta::app
