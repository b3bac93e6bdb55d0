#include "zelta/ui/command_registry.h"

namespace zelta::ui {

HRESULT CommandRegistry::CreateCommand(Atom id, ICommandHandler* handler, IHostCommand** command) {
  if (command) *command = nullptr;
  if (id == kNoAtom) return E_INVALIDARG;
  ComPtr<HostCommand> target = Find(id);
  if (target) {
    ComPtr<ICommandHandler> old = target->Handler();
    if (old.Get() != handler) {
      target->SetHandler(ComPtr<ICommandHandler>(handler));
      if (old) old->OnCommandRemoved(target.Get());
      if (handler) handler->OnCommandAdded(target.Get());
    }
  } else {
    target = MakeCom<HostCommand>(id, ComPtr<ICommandHandler>(handler),
                                  titleOf_ ? titleOf_(id) : std::u16string());
    index_[id] = commands_.size();
    commands_.push_back(target);
    if (handler) handler->OnCommandAdded(target.Get());
  }
  if (command) ComPtr<IHostCommand>(target).CopyTo(command);
  return S_OK;
}

HRESULT CommandRegistry::FindCommand(Atom id, IHostCommand** command) {
  if (!command) return E_POINTER;
  *command = nullptr;
  auto found = Find(id);
  if (!found) return S_FALSE;
  return ComPtr<IHostCommand>(found).CopyTo(command);
}

HRESULT CommandRegistry::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(commands_.size());
  return S_OK;
}

HRESULT CommandRegistry::GetItem(int32_t index, IHostCommand** command) {
  if (!command) return E_POINTER;
  *command = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= commands_.size()) return S_FALSE;
  return ComPtr<IHostCommand>(commands_[index]).CopyTo(command);
}

ComPtr<HostCommand> CommandRegistry::Find(Atom id) const {
  auto found = index_.find(id);
  return found == index_.end() ? nullptr : commands_[found->second];
}

void CommandRegistry::DropHandlers() {
  for (auto& command : commands_) {
    ComPtr<ICommandHandler> handler = command->Handler();
    if (!handler) continue;
    command->SetHandler(nullptr);
    handler->OnCommandRemoved(command.Get());
  }
}

}  // namespace zelta::ui
