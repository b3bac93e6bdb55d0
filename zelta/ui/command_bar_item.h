// One entry of a command bar or menu: a command, with a submenu made on demand, or a separator.
#pragma once

#include "host/commands.h"

namespace zelta::ui {

class CommandBar;

class CommandBarItem : public ComObject<ICommandBarItem> {
 public:
  CommandBarItem(Atom command, int32_t style) : command_(command), style_(style) {}

  HRESULT GetCommandId(Atom* id) override;
  HRESULT GetStyle(int32_t* style) override;
  // E_FAIL for a separator, which cannot hold a menu.
  HRESULT GetSubmenu(ICommandBar** submenu) override;

  Atom Command() const { return command_; }
  bool IsSeparator() const { return command_ == kNoAtom; }
  int32_t Style() const { return style_; }
  // The submenu when one was made, else null.
  ComPtr<CommandBar> Submenu() const { return submenu_; }

 private:
  Atom command_;
  int32_t style_;
  ComPtr<CommandBar> submenu_;
};

}  // namespace zelta::ui
