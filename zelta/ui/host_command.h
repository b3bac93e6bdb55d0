// A command of the host's command registry: id, title, icon, styles and handler.
#pragma once

#include <string>

#include "host/commands.h"

namespace zelta::ui {

// Style bits that make an item a submenu.
inline constexpr int32_t kSubmenuStyle = 0x300;

class HostCommand : public ComObject<IHostCommand> {
 public:
  HostCommand(Atom id, ComPtr<ICommandHandler> handler, std::u16string title);

  HRESULT GetId(Atom* id) override;
  HRESULT GetTitle(BString* title) override;
  HRESULT SetTitle(const char16_t* title, int32_t length) override;
  HRESULT SetIcon(IHostIcon* icon) override;
  HRESULT GetIcon(IHostIcon** icon) override;
  HRESULT SetStyle(int32_t style, int32_t mask) override;
  HRESULT SetMenuStyle(int32_t style, int32_t mask) override;
  HRESULT GetStyle(int32_t* style) override;
  // S_FALSE and null for a command without a handler (the host's own commands).
  HRESULT GetHandler(ICommandHandler** handler) override;

  Atom Id() const { return id_; }
  const std::u16string& Title() const { return title_; }
  int32_t Style() const { return style_; }
  int32_t MenuStyle() const { return menuStyle_; }
  ComPtr<ICommandHandler> Handler() const { return handler_; }
  void SetHandler(ComPtr<ICommandHandler> handler) { handler_ = std::move(handler); }

 private:
  Atom id_;
  ComPtr<ICommandHandler> handler_;
  std::u16string title_;
  ComPtr<IHostIcon> icon_;
  int32_t style_ = 0;
  int32_t menuStyle_ = 0;
};

}  // namespace zelta::ui
