#include "zelta/ui/command_bar_item.h"

#include "zelta/ui/command_bar.h"

namespace zelta::ui {

HRESULT CommandBarItem::GetCommandId(Atom* id) {
  if (!id) return E_POINTER;
  *id = command_;
  return S_OK;
}

HRESULT CommandBarItem::GetStyle(int32_t* style) {
  if (!style) return E_POINTER;
  *style = style_;
  return S_OK;
}

HRESULT CommandBarItem::GetSubmenu(ICommandBar** submenu) {
  if (!submenu) return E_POINTER;
  *submenu = nullptr;
  if (IsSeparator()) return E_FAIL;
  if (!submenu_) submenu_ = MakeCom<CommandBar>(command_);
  return ComPtr<ICommandBar>(submenu_).CopyTo(submenu);
}

}  // namespace zelta::ui
