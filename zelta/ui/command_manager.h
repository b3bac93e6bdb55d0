// The command manager of the UIX component: hands out the command registry.
#pragma once

#include "zelta/ui/command_registry.h"

namespace zelta::ui {

class CommandManager : public ComObject<ICommandManager> {
 public:
  explicit CommandManager(ComPtr<CommandRegistry> registry) : registry_(std::move(registry)) {}
  HRESULT GetRegistry(ICommandRegistry** registry) override {
    if (!registry) return E_POINTER;
    return ComPtr<ICommandRegistry>(registry_).CopyTo(registry);
  }

 private:
  ComPtr<CommandRegistry> registry_;
};

}  // namespace zelta::ui
