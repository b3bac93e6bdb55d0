#include "zelta/ui/host_command.h"

namespace zelta::ui {

HostCommand::HostCommand(Atom id, ComPtr<ICommandHandler> handler, std::u16string title)
    : id_(id), handler_(std::move(handler)), title_(std::move(title)) {}

HRESULT HostCommand::GetId(Atom* id) {
  if (!id) return E_POINTER;
  *id = id_;
  return S_OK;
}

HRESULT HostCommand::GetTitle(BString* title) { return ReturnString(title_, title); }

HRESULT HostCommand::SetTitle(const char16_t* title, int32_t length) {
  if (length < -1) return E_INVALIDARG;
  title_ = InString(title, length);
  return S_OK;
}

HRESULT HostCommand::SetIcon(IHostIcon* icon) {
  icon_ = icon;
  return S_OK;
}

HRESULT HostCommand::GetIcon(IHostIcon** icon) {
  if (!icon) return E_POINTER;
  icon_.CopyTo(icon);
  return icon_ ? S_OK : S_FALSE;
}

HRESULT HostCommand::SetStyle(int32_t style, int32_t mask) {
  style_ = (style_ & ~mask) | (style & mask);
  return S_OK;
}

HRESULT HostCommand::SetMenuStyle(int32_t style, int32_t mask) {
  menuStyle_ = (menuStyle_ & ~mask) | (style & mask);
  return S_OK;
}

HRESULT HostCommand::GetStyle(int32_t* style) {
  if (!style) return E_POINTER;
  *style = style_;
  return S_OK;
}

HRESULT HostCommand::GetHandler(ICommandHandler** handler) {
  if (!handler) return E_POINTER;
  handler_.CopyTo(handler);
  return handler_ ? S_OK : S_FALSE;
}

}  // namespace zelta::ui
