// Event object of "e.beforeShowContextMenu": the menu about to be shown.
#pragma once

#include "zelta/ui/command_bar.h"

namespace zelta::ui {

class ContextMenuEvent : public ComObject<IContextMenuEvent> {
 public:
  explicit ContextMenuEvent(ComPtr<CommandBar> menu) : menu_(std::move(menu)) {}

  HRESULT GetMenuId(Atom* id) override {
    if (!id) return E_POINTER;
    *id = menu_->Id();
    return S_OK;
  }
  HRESULT GetMenu(ICommandBar** menu) override {
    if (!menu) return E_POINTER;
    return ComPtr<ICommandBar>(menu_).CopyTo(menu);
  }

 private:
  ComPtr<CommandBar> menu_;
};

}  // namespace zelta::ui
