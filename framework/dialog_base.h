// The base of the plug-in's dialogs: the handler of one host dialog made from the module's
// layout resource. It maps the host's message codes onto its handler slots, serves the
// dialog's own control events through a table of control id and handler, and gives the
// derived dialogs typed access to their controls by id. A dialog edits a working option set
// that its caller owns and reads back after OK.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/plugin_context.h"
#include "host/cab.h"
#include "host/dialogs.h"
#include "host/document.h"

namespace bm {

class DialogBase : public zelta::ComObject<zelta::IDialogHandler> {
 public:
  // IDialogHandler
  zelta::HRESULT GetTypeInfoCount(uint32_t* count) override;
  zelta::HRESULT OnMessage(zelta::IHostDialog* dialog, zelta::IDialogMessage* message,
                           int32_t* result) override;

  // Makes the dialog from the layout resource and runs it modally; *result is the dialog's
  // result (kDialogResultOk after OK). A host that cannot show dialogs gives S_FALSE and
  // kDialogResultCancel without making one. A layout that is missing or damaged gives E_FAIL
  // after a message that says so.
  zelta::HRESULT RunModal(zelta::WindowHandle owner, int32_t* result);
  // The same, modeless: returns once the dialog is shown.
  zelta::HRESULT ShowModeless(zelta::WindowHandle owner);
  // Runs a property sheet of these page dialogs modally, the first page shown first; *result
  // is kDialogResultOk after an OK that every page accepted (each page's OnOk stored and
  // validated it). S_FALSE and kDialogResultCancel when no one can answer; E_FAIL after a
  // message when the sheet cannot be made.
  static zelta::HRESULT RunSheet(PluginContext* plugin, std::u16string_view sheetId,
                                 zelta::WindowHandle owner, const std::vector<DialogBase*>& pages,
                                 int32_t* result);

  // The dialog while it runs (null before and after).
  zelta::IHostDialog* Dialog() const { return dialog_; }
  const std::u16string& LayoutId() const { return layoutId_; }
  zelta::ICabItem* Options() const { return options_.Get(); }
  zelta::IHostDocument* Document() const { return document_.Get(); }
  // Control ids the dialog asked for that its layout does not have.
  const std::vector<std::u16string>& MissingControls() const { return missing_; }

 protected:
  DialogBase(PluginContext* plugin, std::u16string layoutId, zelta::ICabItem* options,
             zelta::IHostDocument* document);
  ~DialogBase() override;

  // The handler slots. OnControl gets the control that changed, or null when the host
  // changed the dialog as a whole; the base first runs the control's entry of the table.
  virtual void OnInit() {}
  virtual void OnControl(zelta::IDialogControl* sender);
  virtual void OnDestroy() {}
  virtual void OnActivated() {}
  // OK: Store, then Validate; on success the dialog ends with kDialogResultOk. Returns 0
  // (handled) in either case.
  virtual int32_t OnOk();
  virtual void OnCancel() {}
  // A key on a control; 0 marks it handled.
  virtual int32_t OnKey(zelta::IDialogControl* sender, intptr_t key);
  virtual void OnTimer(intptr_t id) {}
  virtual void OnItemActivated(zelta::IDialogControl* sender, intptr_t item) {}
  // Writes the controls into the options; false keeps the dialog open.
  virtual bool Store() { return true; }
  // Checks the stored options (showing its message); false keeps the dialog open.
  virtual bool Validate() { return true; }
  // Re-derives the controls' states from the options after every change.
  virtual void Refresh() {}
  // Before the host saves the options as a preset: writes the controls into the options;
  // false (after its message) refuses the save.
  virtual bool OnSavingPreset() { return Store(); }

  // The table of the dialog's own control events.
  void OnControlEvent(std::u16string_view id, std::function<void()> handler);
  // A check box that sets bit in *flags while it is checked (clears it, when inverted).
  void BindFlag(std::u16string_view checkId, int32_t* flags, int32_t bit, bool inverted = false);

  // The layout resource; a test may hand a damaged one.
  virtual std::span<const uint8_t> LayoutResource() const;

  // Controls by id. A missing control is recorded and reads as empty.
  zelta::ComPtr<zelta::IDialogControl> Control(std::u16string_view id);
  std::u16string Text(std::u16string_view id);
  void SetText(std::u16string_view id, std::u16string_view text);
  int32_t State(std::u16string_view id);
  void SetState(std::u16string_view id, int32_t state);
  bool Checked(std::u16string_view id) { return State(id) != 0; }
  void SetChecked(std::u16string_view id, bool on) { SetState(id, on ? 1 : 0); }
  void Enable(std::u16string_view id, bool enabled);
  bool Enabled(std::u16string_view id);
  void Show(std::u16string_view id, bool visible);
  // A number field: its range, its value (nullopt when the text is not a number in range).
  void SetRange(std::u16string_view id, double min, double max, double step);
  std::optional<double> Number(std::u16string_view id);
  // The same, and when the text is no number in range a message that names the range.
  std::optional<double> CheckedNumber(std::u16string_view id);
  void SetNumber(std::u16string_view id, double value);
  // Entries of a combo box or list.
  std::vector<std::u16string> Entries(std::u16string_view id);
  void SetEntries(std::u16string_view id, const std::vector<std::u16string>& texts);
  std::vector<int32_t> SelectedEntries(std::u16string_view id);
  // Fills a combo box with the texts of string ids, in order.
  void FillCombo(std::u16string_view id, std::initializer_list<std::u16string_view> stringIds);

  // Texts and messages.
  std::u16string LoadString(std::u16string_view id) const;
  // A message box over the dialog with texts given by string id; the answer.
  int32_t Message(std::u16string_view textId, std::u16string_view captionId, uint32_t style);
  int32_t MessageText(std::u16string_view text, std::u16string_view caption, uint32_t style);
  // An input box; nullopt when cancelled.
  std::optional<std::u16string> Input(std::u16string_view titleId, std::u16string_view promptId,
                                      std::u16string_view initial);
  // The check at OK of a tool that works on the selected bookmarks: false, after the message
  // that asks for a selection, when the document has none.
  bool CheckSelection(bool includeSubLevels);
  // The dialog's own window, the owner of the dialogs it opens (0 when it is not shown).
  zelta::WindowHandle Window() const;
  // The document the dialog works on from now on (the active document changed).
  void SetDocument(zelta::IHostDocument* document) { document_ = document; }
  // Ends the dialog with a result.
  void End(int32_t result);

  PluginContext* Plugin() const { return plugin_.Get(); }

 private:
  // Works the length edits of a dialog and their unit combo.
  friend class UnitEdits;

  zelta::HRESULT Create(zelta::WindowHandle owner, zelta::ComPtr<zelta::IHostDialog>* dialog,
                        zelta::ComPtr<zelta::IDialogService>* service);
  int32_t Handle(int32_t code, zelta::IDialogControl* sender, intptr_t value);

  zelta::ComPtr<PluginContext> plugin_;
  std::u16string layoutId_;
  zelta::ComPtr<zelta::ICabItem> options_;
  zelta::ComPtr<zelta::IHostDocument> document_;
  // Valid between kDialogInit and kDialogDestroy: the dialog holds this handler.
  zelta::IHostDialog* dialog_ = nullptr;
  std::vector<std::pair<std::u16string, std::function<void()>>> controlEvents_;
  std::vector<std::u16string> missing_;
  struct NumberRange {
    std::u16string id;
    double min, max;
  };
  std::vector<NumberRange> ranges_;
};

}  // namespace bm
