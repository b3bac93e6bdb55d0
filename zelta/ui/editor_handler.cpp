#include "zelta/ui/editor_handler.h"

#include <cmath>

#include "host/ui.h"
#include "zelta/ui/dialog_engine.h"

namespace zelta::ui {

namespace {

std::u16string NumberText(double value) {
  const std::string digits = std::to_string(std::lround(value));
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

HRESULT EditorHandler::GetTypeInfoCount(uint32_t* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT EditorHandler::OnMessage(IHostDialog* dialog, IDialogMessage* message, int32_t* result) {
  if (!result) return E_POINTER;
  *result = 1;
  if (!message) return S_OK;
  int32_t code = 0;
  message->GetCode(&code);
  ComPtr<IDialogControl> sender;
  message->GetSender(sender.Put());
  // Only the engine's own dialogs run these handlers.
  dialog_ = static_cast<Dialog*>(dialog);
  switch (code) {
    case kDialogInit:
      OnInit();
      break;
    case kDialogControlChanged:
      OnControl(static_cast<DialogControl*>(sender.Get()));
      break;
    case kDialogOk:
      if (OnOk()) dialog_->EndDialog(kDialogResultOk);
      message->SetHandled();
      *result = 0;
      break;
    case kDialogDestroy:
      dialog_ = nullptr;
      break;
    default:
      break;
  }
  return S_OK;
}

DialogControl* EditorHandler::Control(std::u16string_view id) const {
  return dialog_ ? dialog_->Find(id) : nullptr;
}

std::u16string EditorHandler::Text(std::u16string_view id, std::u16string_view first,
                                   std::u16string_view second) const {
  std::u16string text = engine_.ResolveText(u"$$$." + std::u16string(id));
  for (auto [mark, insert] : {std::pair{u"%1", first}, std::pair{u"%2", second}})
    if (const size_t at = text.find(mark); at != std::u16string::npos) text.replace(at, 2, insert);
  return text;
}

void EditorHandler::Warn(const std::u16string& text) {
  engine_.Message(text, dialog_ ? dialog_->Title() : u"", kMsgOwnerModal | kMsgIconWarning);
}

std::optional<double> EditorHandler::CheckedNumber(std::u16string_view id) {
  DialogControl* control = Control(id);
  double value = 0;
  if (control && control->GetNumber(&value) == S_OK) return value;
  std::optional<DialogControl::Range> range;
  if (control) range = control->NumberRange();
  Warn(Text(u"editor.badNumber", NumberText(range ? range->min : 0),
            NumberText(range ? range->max : 0)));
  return std::nullopt;
}

}  // namespace zelta::ui
