// A dialog of the host's toolkit-free model: the layout, one DialogControl per control (in
// tab order), the handler the module gave, timers, and the end state. Messages go to the
// handler through Dispatch, which also applies the host's default action of each code.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/cab.h"
#include "host/dialogs.h"
#include "host/document.h"
#include "zelta/ui/dialog_control.h"
#include "zelta/ui/dialog_layout.h"

namespace zelta::ui {

class DialogEngine;

class Dialog : public ComObject<IHostDialog> {
 public:
  enum class Phase { kCreated, kShown, kEnded, kDestroyed };

  // Text references of the layout are resolved through the engine.
  Dialog(DialogEngine* engine, DialogLayout layout, WindowHandle owner, IDialogHandler* handler,
         WindowHandle window);
  ~Dialog() override;

  // IHostDialog
  HRESULT GetLayoutId(BString* id) override;
  HRESULT GetWindow(WindowHandle* window) override;
  HRESULT GetControl(const char16_t* id, IDialogControl** control) override;
  HRESULT EndDialog(int32_t result) override;
  HRESULT IsModal(bool* modal) override;
  HRESULT BringToFront() override;
  HRESULT SetTimer(uint32_t id, uint32_t periodMs) override;
  HRESULT KillTimer(uint32_t id) override;
  HRESULT ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                      int32_t captionLength, uint32_t style, int32_t* answer) override;
  HRESULT InputBox(const char16_t* title, const char16_t* prompt, const char16_t* initial,
                   BString* answer) override;
  HRESULT ShowMenu(const DialogMenuItem* items, int32_t count, IDialogControl* anchor,
                   int32_t* command) override;
  HRESULT ChooseFile(const char16_t* filter, BString* path) override;
  HRESULT LoadPageRange(ICabItem* pagesRange, IHostDocument* document) override;
  HRESULT StorePageRange(ICabItem* pagesRange) override;
  HRESULT GetPageRangeError(BString* reason) override;
  HRESULT AttachPresets(ICabItem* presets, const char16_t* settingsPath, ICabItem* options,
                        const char16_t* currentId) override;
  HRESULT GetCurrentPreset(BString* id) override;

  // The model.
  const DialogLayout& Layout() const { return layout_; }
  // The resolved title.
  const std::u16string& Title() const { return title_; }
  // In tab order.
  const std::vector<ComPtr<DialogControl>>& Controls() const { return controls_; }
  DialogControl* Find(std::u16string_view id) const;
  Phase CurrentPhase() const { return phase_; }
  bool Modal() const { return modal_; }
  // The value given to EndDialog (nullopt while the dialog runs).
  std::optional<int32_t> Result() const { return result_; }
  WindowHandle Owner() const { return owner_; }
  DialogEngine* Engine() const { return engine_; }

  // The run, for the engine: Show sends kDialogInit, Destroy sends kDialogDestroy and lets
  // go of the handler.
  void Show(bool modal);
  void Destroy();
  // Sends a message to the handler and then applies the host's default for its code;
  // returns the handler's result (-1 when the handler failed or is gone).
  int32_t Dispatch(int32_t code, DialogControl* sender, intptr_t value);
  // A page of a property sheet: the sheet's frame, whose "btn.ok" and "btn.cancel" the page
  // reaches through GetControl (null: none).
  void SetSheetFrame(Dialog* frame) { frame_ = frame; }
  // A sheet page whose OK round another page refused runs on: its end is forgotten.
  void Resume() { result_.reset(); }
  // Fires the timers that fall due within the next `ms` milliseconds of the dialog's clock.
  void AdvanceTime(uint32_t ms);
  // Clears the other radios of a radio's group (from a radio marked newGroup to the next).
  void ClearRadioGroup(DialogControl* radio);
  // Whether the control belongs to the host's page-range group.
  static bool IsPageRangeControl(std::u16string_view id);
  // After the user changed a page-range control: the mode follows the edit being typed in.
  void PageRangeEdited(DialogControl* control);
  // The preset button's menu.
  HRESULT TakePreset(int32_t index);
  HRESULT SavePreset(std::u16string_view name);
  HRESULT RenamePreset(int32_t index, std::u16string_view name);
  // The preset leaves the list and its id joins "_Removed".
  HRESULT DeletePreset(int32_t index);
  // The list goes back to its defaults: no presets and no removed ids.
  HRESULT ResetPresets();
  // The presets' names, in list order.
  std::vector<std::u16string> PresetNames() const;
  // The name of the preset the options were last taken from or saved as; empty for none.
  std::u16string CurrentPresetName() const;
  // Whether a preset list is attached (the preset button has a menu).
  bool HasPresets() const { return static_cast<bool>(presets_); }

 private:
  struct Timer {
    uint32_t period;
    uint64_t due;
  };
  void WritePageRange(ICabItem* range);
  // Writes the settings after a change of the preset list; when that fails, `undo` puts the
  // list back as it was, so memory and file agree.
  HRESULT KeepPresetChange(const std::function<void()>& undo);

  DialogEngine* engine_;
  DialogLayout layout_;
  std::u16string title_;
  WindowHandle owner_;
  WindowHandle window_;
  ComPtr<IDialogHandler> handler_;
  std::vector<ComPtr<DialogControl>> controls_;
  Phase phase_ = Phase::kCreated;
  bool modal_ = false;
  std::optional<int32_t> result_;
  std::map<uint32_t, Timer> timers_;
  uint64_t clock_ = 0;
  // The host controls' bindings.
  ComPtr<ICabItem> pageRange_;
  int32_t pageCount_ = -1;
  ComPtr<ICabItem> presets_;
  ComPtr<ICabItem> presetOptions_;
  std::u16string currentPreset_;
  Dialog* frame_ = nullptr;  // the sheet's frame while this is a page of a sheet
};

}  // namespace zelta::ui
