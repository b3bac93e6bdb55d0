// The handler of one of the host's own editor dialogs: the host-side counterpart of a
// module's dialog object, working the engine's controls directly.
#pragma once

#include <optional>
#include <string>

#include "host/dialogs.h"
#include "zelta/ui/dialog.h"

namespace zelta::ui {

class DialogEngine;

class EditorHandler : public ComObject<IDialogHandler> {
 public:
  explicit EditorHandler(DialogEngine& engine) : engine_(engine) {}

  HRESULT GetTypeInfoCount(uint32_t* count) override;
  HRESULT OnMessage(IHostDialog* dialog, IDialogMessage* message, int32_t* result) override;

 protected:
  virtual void OnInit() = 0;
  virtual void OnControl(DialogControl* sender) {}
  // OK: true ends the editor with kDialogResultOk; false (after a message) keeps it open.
  virtual bool OnOk() = 0;

  // A control of the layout (never null for the editors' own layouts once shown).
  DialogControl* Control(std::u16string_view id) const;
  // The text of a host string id, with %1 and %2 replaced.
  std::u16string Text(std::u16string_view id, std::u16string_view first = {},
                      std::u16string_view second = {}) const;
  void Warn(const std::u16string& text);
  // An edit's number in its range; nullopt after a message that names the range.
  std::optional<double> CheckedNumber(std::u16string_view id);

 private:
  DialogEngine& engine_;
  Dialog* dialog_ = nullptr;  // between kDialogInit and kDialogDestroy
};

}  // namespace zelta::ui
