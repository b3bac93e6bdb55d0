// The user at a dialog, by control id: what a test or a script does in place of a person.
// Each action goes through the same checks a person meets (the control must exist, be shown
// and be enabled, and be of a kind that takes the action) and sends the message a person's
// action sends. An action that cannot be done returns false and leaves Error() saying why.
#pragma once

#include <string>
#include <vector>

#include "zelta/ui/dialog.h"

namespace zelta::ui {

class DialogEngine;
class PropertySheet;

class DialogDriver {
 public:
  DialogDriver(Dialog& dialog, DialogEngine& engine) : dialog_(&dialog), engine_(engine) {}
  // The user at a property sheet: actions go to the control of the active page with that id,
  // or else to the sheet's own "btn.ok" and "btn.cancel".
  DialogDriver(PropertySheet& sheet, DialogEngine& engine);

  // The dialog worked on (at a sheet: the active page).
  Dialog& Model();
  DialogEngine& Engine() { return engine_; }
  // The sheet, or null at an ordinary dialog.
  PropertySheet* Sheet() const { return sheet_; }
  // Turns to a page of the sheet (0-based); false at an ordinary dialog or a page outside.
  bool SelectPage(int32_t index);

  // Types text into an edit or an editable combo (replacing what it held).
  bool Type(std::u16string_view id, std::u16string_view text);
  // Sets a check box, or picks a radio button (on = true).
  bool Check(std::u16string_view id, bool on = true);
  // Picks the entry of a combo box, or makes it the only selected and focused entry of a list.
  bool Choose(std::u16string_view id, int32_t index);
  // Selects exactly these entries of a list (the first becomes the focused entry).
  bool SelectEntries(std::u16string_view id, const std::vector<int32_t>& indexes);
  bool SelectTreeItem(std::u16string_view id, int32_t item);
  // Double-clicks an entry of a list or an item of a tree.
  bool Activate(std::u16string_view id, int32_t item);
  // Presses a button: "btn.ok" confirms, "btn.cancel" and "btn.close" cancel.
  bool Click(std::u16string_view id);
  bool Key(std::u16string_view id, int32_t key);
  // The close box of the window.
  void Close();
  // Lets time pass: timers fall due (on every page of a sheet).
  void Wait(uint32_t ms);
  // The preset button's menu: take the index-th preset, or save the options as a new one.
  bool TakePreset(int32_t index);
  bool SavePreset(std::u16string_view name);
  bool RenamePreset(int32_t index, std::u16string_view name);
  bool DeletePreset(int32_t index);
  bool ResetPresets();
  std::vector<std::u16string> Presets() const { return dialog_->PresetNames(); }

  // Reading the dialog as a person sees it.
  std::u16string Text(std::u16string_view id) const;
  int32_t State(std::u16string_view id) const;
  bool Enabled(std::u16string_view id) const;
  bool Visible(std::u16string_view id) const;
  std::vector<std::u16string> Entries(std::u16string_view id) const;
  bool Ended() const { return Top().Result().has_value(); }

  const std::string& Error() const { return error_; }

 private:
  // The control if the user can reach it with an action for one of the kinds.
  DialogControl* Reach(std::u16string_view id, std::initializer_list<DialogControlKind> kinds);
  void Changed(DialogControl* control);
  // The control of an id as the user sees it (a sheet: the active page, then the frame).
  DialogControl* Find(std::u16string_view id) const;
  // What ends: the dialog, or the sheet's frame.
  Dialog& Top() const;

  Dialog* dialog_;
  PropertySheet* sheet_ = nullptr;
  DialogEngine& engine_;
  std::string error_;
};

}  // namespace zelta::ui
