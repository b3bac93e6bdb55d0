// Event object of "e.mainView.customizeCmdBars": the bars a module may add its items to.
#pragma once

#include <map>

#include "zelta/ui/command_bar.h"

namespace zelta::ui {

class CommandBarCustomization : public ComObject<ICommandBarCustomization> {
 public:
  explicit CommandBarCustomization(std::map<Atom, ComPtr<CommandBar>> bars)
      : bars_(std::move(bars)) {}

  HRESULT GetBar(Atom barId, ICommandBar** bar) override {
    if (!bar) return E_POINTER;
    *bar = nullptr;
    auto found = bars_.find(barId);
    if (found == bars_.end()) return S_FALSE;
    return ComPtr<ICommandBar>(found->second).CopyTo(bar);
  }

 private:
  std::map<Atom, ComPtr<CommandBar>> bars_;
};

}  // namespace zelta::ui
