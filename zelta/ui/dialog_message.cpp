#include "zelta/ui/dialog_message.h"

namespace zelta::ui {

HRESULT DialogMessage::GetCode(int32_t* code) {
  if (!code) return E_POINTER;
  *code = code_;
  return S_OK;
}

HRESULT DialogMessage::GetSender(IDialogControl** control) {
  if (!control) return E_POINTER;
  sender_.CopyTo(control);
  return sender_ ? S_OK : S_FALSE;
}

HRESULT DialogMessage::GetValue(intptr_t* value) {
  if (!value) return E_POINTER;
  *value = value_;
  return S_OK;
}

HRESULT DialogMessage::SetHandled() {
  handled_ = true;
  return S_OK;
}

HRESULT DialogMessage::IsHandled(bool* handled) {
  if (!handled) return E_POINTER;
  *handled = handled_;
  return S_OK;
}

}  // namespace zelta::ui
