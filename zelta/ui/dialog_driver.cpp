#include "zelta/ui/dialog_driver.h"

#include <algorithm>

#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog_engine.h"
#include "zelta/ui/property_sheet.h"

namespace zelta::ui {

DialogDriver::DialogDriver(PropertySheet& sheet, DialogEngine& engine)
    : dialog_(&sheet.Frame()), sheet_(&sheet), engine_(engine) {}

Dialog& DialogDriver::Model() { return sheet_ ? sheet_->Active() : *dialog_; }

Dialog& DialogDriver::Top() const { return sheet_ ? sheet_->Frame() : *dialog_; }

DialogControl* DialogDriver::Find(std::u16string_view id) const {
  if (!sheet_) return dialog_->Find(id);
  DialogControl* control = sheet_->Active().Find(id);
  return control ? control : sheet_->Frame().Find(id);
}

bool DialogDriver::SelectPage(int32_t index) {
  if (!sheet_ || Ended()) {
    error_ = sheet_ ? "the dialog has ended" : "not a property sheet";
    return false;
  }
  if (!sheet_->SelectPage(index)) {
    error_ = "no page " + std::to_string(index);
    return false;
  }
  error_.clear();
  return true;
}

void DialogDriver::Wait(uint32_t ms) {
  if (!sheet_) {
    dialog_->AdvanceTime(ms);
    return;
  }
  for (const auto& page : sheet_->Pages()) page->AdvanceTime(ms);
}

DialogControl* DialogDriver::Reach(std::u16string_view id,
                                   std::initializer_list<DialogControlKind> kinds) {
  const std::string name = base::LossyUtf8(id);
  DialogControl* control = Find(id);
  if (Ended()) {
    error_ = "the dialog has ended";
  } else if (!control) {
    error_ = "no control " + name;
  } else if (!control->Visible()) {
    error_ = name + " is hidden";
  } else if (!control->Enabled()) {
    error_ = name + " is disabled";
  } else if (std::find(kinds.begin(), kinds.end(), control->Kind()) == kinds.end()) {
    error_ = name + " does not take this action";
  } else {
    error_.clear();
    return control;
  }
  return nullptr;
}

void DialogDriver::Changed(DialogControl* control) {
  Dialog& owner = *control->Owner();
  if (Dialog::IsPageRangeControl(control->Id())) {
    owner.PageRangeEdited(control);
    owner.Dispatch(kDialogHostChanged, nullptr, 0);
  } else {
    owner.Dispatch(kDialogControlChanged, control, 0);
  }
  engine_.Reap();
}

bool DialogDriver::Type(std::u16string_view id, std::u16string_view text) {
  DialogControl* control = Reach(id, {kControlEdit, kControlCombo});
  if (!control) return false;
  control->SetText(text.data(), static_cast<int32_t>(text.size()));
  Changed(control);
  return true;
}

bool DialogDriver::Check(std::u16string_view id, bool on) {
  DialogControl* control = Reach(id, {kControlCheck, kControlRadio});
  if (!control) return false;
  if (control->Kind() == kControlRadio && !on) {
    error_ = "a radio button is cleared by picking another";
    return false;
  }
  control->SetState(on ? 1 : 0);
  Changed(control);
  return true;
}

bool DialogDriver::Choose(std::u16string_view id, int32_t index) {
  DialogControl* control = Reach(id, {kControlCombo, kControlList});
  if (!control) return false;
  if (index < 0 || index >= static_cast<int32_t>(control->Entries().size())) {
    error_ = "no entry " + std::to_string(index);
    return false;
  }
  if (control->Kind() == kControlList)
    for (size_t i = 0; i < control->Entries().size(); ++i)
      control->SelectItem(static_cast<int32_t>(i), false);
  control->SetState(index);
  Changed(control);
  return true;
}

bool DialogDriver::SelectEntries(std::u16string_view id, const std::vector<int32_t>& indexes) {
  DialogControl* control = Reach(id, {kControlList});
  if (!control) return false;
  const auto count = static_cast<int32_t>(control->Entries().size());
  for (int32_t index : indexes)
    if (index < 0 || index >= count) {
      error_ = "no entry " + std::to_string(index);
      return false;
    }
  for (int32_t i = 0; i < count; ++i) control->SelectItem(i, false);
  for (int32_t index : indexes) control->SelectItem(index, true);
  control->SetStateRaw(indexes.empty() ? -1 : indexes.front());
  Changed(control);
  return true;
}

bool DialogDriver::SelectTreeItem(std::u16string_view id, int32_t item) {
  DialogControl* control = Reach(id, {kControlTree});
  if (!control) return false;
  if (Failed(control->SelectTreeItem(item))) {
    error_ = "no tree item " + std::to_string(item);
    return false;
  }
  Changed(control);
  return true;
}

bool DialogDriver::Activate(std::u16string_view id, int32_t item) {
  DialogControl* control = Reach(id, {kControlList, kControlTree});
  if (!control) return false;
  control->Owner()->Dispatch(kDialogItemActivated, control, item);
  engine_.Reap();
  return true;
}

bool DialogDriver::Click(std::u16string_view id) {
  DialogControl* control = Reach(id, {kControlButton, kControlInfoButton});
  if (!control) return false;
  Dialog& owner = *control->Owner();
  if (id == u"btn.ok")
    owner.Dispatch(kDialogOk, control, 0);
  else if (id == u"btn.cancel" || id == u"btn.close")
    owner.Dispatch(kDialogCancel, control, 0);
  else
    owner.Dispatch(kDialogControlChanged, control, 0);
  engine_.Reap();
  return true;
}

bool DialogDriver::Key(std::u16string_view id, int32_t key) {
  DialogControl* control = Find(id);
  if (!Reach(id, {control ? control->Kind() : kControlLabel})) return false;
  control->Owner()->Dispatch(kDialogKey, control, key);
  engine_.Reap();
  return true;
}

void DialogDriver::Close() {
  if (Ended()) return;
  Top().Dispatch(kDialogCancel, nullptr, 0);
  engine_.Reap();
}

bool DialogDriver::TakePreset(int32_t index) {
  if (!Reach(u"btn.presets", {kControlButton})) return false;
  if (Failed(dialog_->TakePreset(index))) {
    error_ = "no preset " + std::to_string(index);
    return false;
  }
  return true;
}

bool DialogDriver::SavePreset(std::u16string_view name) {
  if (!Reach(u"btn.presets", {kControlButton})) return false;
  if (Failed(dialog_->SavePreset(name))) {
    error_ = "the preset was not saved";
    return false;
  }
  return true;
}

bool DialogDriver::RenamePreset(int32_t index, std::u16string_view name) {
  if (!Reach(u"btn.presets", {kControlButton})) return false;
  if (Failed(dialog_->RenamePreset(index, name))) {
    error_ = "preset " + std::to_string(index) + " was not renamed";
    return false;
  }
  return true;
}

bool DialogDriver::DeletePreset(int32_t index) {
  if (!Reach(u"btn.presets", {kControlButton})) return false;
  if (Failed(dialog_->DeletePreset(index))) {
    error_ = "preset " + std::to_string(index) + " was not deleted";
    return false;
  }
  return true;
}

bool DialogDriver::ResetPresets() {
  if (!Reach(u"btn.presets", {kControlButton})) return false;
  if (Failed(dialog_->ResetPresets())) {
    error_ = "the presets were not reset";
    return false;
  }
  return true;
}

std::u16string DialogDriver::Text(std::u16string_view id) const {
  const DialogControl* control = Find(id);
  return control ? control->Text() : std::u16string();
}

int32_t DialogDriver::State(std::u16string_view id) const {
  const DialogControl* control = Find(id);
  return control ? control->State() : -1;
}

bool DialogDriver::Enabled(std::u16string_view id) const {
  const DialogControl* control = Find(id);
  return control && control->Enabled();
}

bool DialogDriver::Visible(std::u16string_view id) const {
  const DialogControl* control = Find(id);
  return control && control->Visible();
}

std::vector<std::u16string> DialogDriver::Entries(std::u16string_view id) const {
  std::vector<std::u16string> texts;
  if (const DialogControl* control = Find(id))
    for (const auto& entry : control->Entries()) texts.push_back(entry.text);
  return texts;
}

}  // namespace zelta::ui
