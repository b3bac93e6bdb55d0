// The host's icons: a fixed set of ids, one icon object per id.
#pragma once

#include <map>

#include "host/commands.h"
#include "zelta/ui/host_icon.h"

namespace zelta::ui {

class IconManager : public ComObject<IIconManager> {
 public:
  IconManager();
  // S_FALSE and null for an id outside the host's set.
  HRESULT FindIcon(Atom id, IHostIcon** icon) override;

 private:
  std::map<Atom, ComPtr<IHostIcon>> icons_;
};

}  // namespace zelta::ui
