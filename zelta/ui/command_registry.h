// The registry of every command the host and its modules made, in creation order.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/commands.h"
#include "zelta/ui/host_command.h"

namespace zelta::ui {

class CommandRegistry : public ComObject<ICommandRegistry> {
 public:
  // A new command takes its title from `titleOf` (the host's string for its id; empty when
  // none) until someone sets one. For an id already registered the handler is replaced: the
  // old handler hears OnCommandRemoved, the new one OnCommandAdded. E_INVALIDARG for kNoAtom.
  HRESULT CreateCommand(Atom id, ICommandHandler* handler, IHostCommand** command) override;
  HRESULT FindCommand(Atom id, IHostCommand** command) override;
  HRESULT GetCount(int32_t* count) override;
  // S_FALSE and null out of range.
  HRESULT GetItem(int32_t index, IHostCommand** command) override;

  void SetTitleSource(std::function<std::u16string(Atom)> titleOf) {
    titleOf_ = std::move(titleOf);
  }
  // Null for an unknown id.
  ComPtr<HostCommand> Find(Atom id) const;
  // Every handler hears OnCommandRemoved and is released; the commands stay, inert (at
  // shutdown, so that no module code is called afterwards and no reference cycle remains).
  void DropHandlers();

 private:
  std::vector<ComPtr<HostCommand>> commands_;
  std::map<Atom, size_t> index_;
  std::function<std::u16string(Atom)> titleOf_;
};

}  // namespace zelta::ui
