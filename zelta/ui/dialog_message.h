// The message object a dialog hands its handler.
#pragma once

#include "host/dialogs.h"

namespace zelta::ui {

class DialogMessage : public ComObject<IDialogMessage> {
 public:
  DialogMessage(int32_t code, IDialogControl* sender, intptr_t value)
      : code_(code), sender_(sender), value_(value) {}

  HRESULT GetCode(int32_t* code) override;
  HRESULT GetSender(IDialogControl** control) override;
  HRESULT GetValue(intptr_t* value) override;
  HRESULT SetHandled() override;
  HRESULT IsHandled(bool* handled) override;

  bool Handled() const { return handled_; }

 private:
  int32_t code_;
  ComPtr<IDialogControl> sender_;
  intptr_t value_;
  bool handled_ = false;
};

}  // namespace zelta::ui
