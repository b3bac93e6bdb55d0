// Dialogs built from a module's XML layout resource and run by the host's user-interface
// component ("UIX"). The module never draws: it describes a dialog by layout text and id,
// hands the host a handler, and reads and writes the dialog's controls by control id.
//
// The dialog service is the UIX component itself: QueryInterface the IUiExtension object for
// IDialogService. Every call happens on the host's user-interface thread.
#pragma once

#include "host/com.h"

namespace zelta {

struct ICabItem;
struct IHostDocument;
struct IHostDialog;

// The control kinds of a layout (the element names label, check, button, edit, radio, group,
// combo, list, tree, progress, picture, infoBtn).
enum DialogControlKind : int32_t {
  kControlLabel = 1,
  kControlCheck = 2,
  kControlButton = 3,
  kControlEdit = 4,
  kControlRadio = 5,
  kControlGroup = 6,
  kControlCombo = 7,
  kControlList = 8,
  kControlTree = 9,
  kControlProgress = 10,
  kControlPicture = 11,
  kControlInfoButton = 12,
};

// The message codes a dialog's handler receives.
enum DialogMessageCode : int32_t {
  // A control changed or was used (button clicked, box checked, edit text changed, entry
  // chosen, selection moved). Sender: the control.
  kDialogControlChanged = 6456,
  // Something the host owns changed the dialog as a whole (the page-range group, a preset
  // taken). No sender.
  kDialogHostChanged = 6458,
  // The dialog was created and is about to be shown: load the options into the controls.
  kDialogInit = 6471,
  // The dialog is going away (after its end, or when its host closes it). The last message:
  // the handler must drop its pointer to the dialog.
  kDialogDestroy = 6490,
  // A modeless dialog was brought to the front again.
  kDialogActivated = 6500,
  // The default button "btn.ok" was pressed. A handler result of 0 marks the message handled
  // (the handler validated, stored and ended the dialog itself, or keeps it open); any other
  // result lets the host end the dialog with 1.
  kDialogOk = 6501,
  // "btn.cancel", "btn.close" or the window's close box. The host then ends the dialog with 2.
  kDialogCancel = 6502,
  // A key went to a control. Value: the key code (DialogKey). Sender: the focused control.
  // A handler result of 0 marks the key handled.
  kDialogKey = 6503,
  // A timer of the dialog fired. Value: the timer id given to SetTimer.
  kDialogTimer = 6504,
  // An item of a list or tree was activated (double click, Enter). Sender: the control;
  // value: the list index or tree item.
  kDialogItemActivated = 6519,
  // The user is saving the options as a preset: the handler writes what its controls hold
  // into the option set first. A handler result of 0 refuses the save (the handler told the
  // user why, say a number out of range).
  kDialogSavingPreset = 6520,
};

// Key codes of kDialogKey.
enum DialogKey : int32_t {
  kKeyEnter = 0x0D,
  kKeyEscape = 0x1B,
  kKeyInsert = 0x2D,
  kKeyDelete = 0x2E,
  kKeyF2 = 0x71,
};

// Results a dialog ends with (EndDialog); a handler may use any other value of its own.
enum DialogResult : int32_t { kDialogResultOk = 1, kDialogResultCancel = 2 };

// Relations for IDialogControl::GetTreeItem.
enum TreeRelation : int32_t { kTreeParent = 0, kTreeFirstChild = 1, kTreeNextSibling = 2 };

// The root of a tree control: the parent of its top-level items. Items are positive handles
// that stay valid until the item is removed.
inline constexpr int32_t kTreeRoot = 0;

// One control of a running dialog. The dialog owns its controls; a reference keeps the object
// alive, but after the dialog is destroyed every call gives E_FAIL.
//
// State by kind: a check box or radio button 0 (clear) or 1 (set); a combo box, and the
// focused entry of a list, the index of the current entry (-1 for none); a progress bar its
// position. Changing a control through this interface does not send kDialogControlChanged:
// only the user's changes do.
struct IDialogControl : IUnknown {
  static constexpr Guid kIid{0x5A1E1301, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x91}};

  // The control id of the layout ("cbc.rbtn.TitleCase"); a new string the caller frees.
  virtual HRESULT GetId(BString* id) = 0;
  // A DialogControlKind.
  virtual HRESULT GetKind(int32_t* kind) = 0;

  // The text shown (an edit's contents, a label's or button's caption, a combo's edit text);
  // a new string the caller frees, empty when none.
  virtual HRESULT GetText(BString* text) = 0;
  // length -1: NUL-terminated. A null text is the empty text.
  virtual HRESULT SetText(const char16_t* text, int32_t length) = 0;

  virtual HRESULT GetState(int32_t* state) = 0;
  // Setting a radio button to 1 clears the other radios of its group. E_INVALIDARG for an
  // index outside a combo's or list's entries (other than -1).
  virtual HRESULT SetState(int32_t state) = 0;

  virtual HRESULT IsEnabled(bool* enabled) = 0;
  virtual HRESULT Enable(bool enabled) = 0;
  virtual HRESULT IsVisible(bool* visible) = 0;
  virtual HRESULT Show(bool visible) = 0;

  // Numeric edits and progress bars: the accepted values and the step of the spin arrows.
  // E_INVALIDARG when min > max or step < 0.
  virtual HRESULT SetRange(double min, double max, double step) = 0;
  // The edit's text as a number. E_INVALIDARG (and *value 0) when the text is empty, not a
  // number, or outside the range.
  virtual HRESULT GetNumber(double* value) = 0;
  // Shows the value (whole numbers without a fraction). The value is kept in the range.
  virtual HRESULT SetNumber(double value) = 0;

  // Entries of a combo box or list. Index -1 in InsertItem appends; *at (may be null)
  // receives the index it went to. E_INVALIDARG for an index out of range or a control
  // without entries.
  virtual HRESULT GetItemCount(int32_t* count) = 0;
  virtual HRESULT GetItemText(int32_t index, BString* text) = 0;
  virtual HRESULT InsertItem(int32_t index, const char16_t* text, int32_t length, int32_t* at) = 0;
  virtual HRESULT SetItemText(int32_t index, const char16_t* text, int32_t length) = 0;
  virtual HRESULT RemoveItem(int32_t index) = 0;
  virtual HRESULT ClearItems() = 0;
  // Lists allow several selected entries; a combo box's selection is its state.
  virtual HRESULT IsItemSelected(int32_t index, bool* selected) = 0;
  virtual HRESULT SelectItem(int32_t index, bool selected) = 0;

  // Tree items. InsertTreeItem puts a new item under parent (kTreeRoot for the top), after
  // the sibling `after` (-1: last, 0: first), and gives its handle. RemoveTreeItem takes the
  // item's descendants with it. GetTreeItem gives the related item, or 0 and S_FALSE when
  // there is none. E_INVALIDARG for an unknown handle or a control that is not a tree.
  virtual HRESULT InsertTreeItem(int32_t parent, int32_t after, const char16_t* text,
                                 int32_t length, int32_t* item) = 0;
  virtual HRESULT RemoveTreeItem(int32_t item) = 0;
  virtual HRESULT GetTreeItemText(int32_t item, BString* text) = 0;
  virtual HRESULT SetTreeItemText(int32_t item, const char16_t* text, int32_t length) = 0;
  virtual HRESULT GetTreeItem(int32_t item, int32_t relation, int32_t* related) = 0;
  // The selected item, 0 and S_FALSE for none; selecting 0 clears the selection.
  virtual HRESULT GetSelectedTreeItem(int32_t* item) = 0;
  virtual HRESULT SelectTreeItem(int32_t item) = 0;
};

// The message a dialog's handler receives: a code, the control that sent it (if any) and a
// value, as each DialogMessageCode says.
struct IDialogMessage : IUnknown {
  static constexpr Guid kIid{0x5A1E1302, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x92}};
  virtual HRESULT GetCode(int32_t* code) = 0;
  // The sender with a reference added; null and S_FALSE when the message has none.
  virtual HRESULT GetSender(IDialogControl** control) = 0;
  virtual HRESULT GetValue(intptr_t* value) = 0;
  // Marks the message handled: the host skips its own default action for it.
  virtual HRESULT SetHandled() = 0;
  virtual HRESULT IsHandled(bool* handled) = 0;
};

// The module's side of a dialog: the host calls it with every message. A dispatch interface
// (one type-information block), so that any front-end may script it.
struct IDialogHandler : IUnknown {
  static constexpr Guid kIid{0x5A1E1303, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x93}};
  // Always 1.
  virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
  // One message of `dialog`. The dialog pointer is valid until kDialogDestroy has been
  // handled; a handler keeps it as a plain pointer (the dialog holds the handler). *result is
  // the handler's answer (see the codes); a failure result is taken as "not handled".
  virtual HRESULT OnMessage(IHostDialog* dialog, IDialogMessage* message, int32_t* result) = 0;
};

// One entry of a pop-up menu (IHostDialog::ShowMenu). An entry with a null text is a
// separator; `command` is what ShowMenu gives back when the entry is chosen; an entry with
// `submenu` > 0 opens the next `submenu` entries as its submenu.
struct DialogMenuItem {
  const char16_t* text;
  int32_t command;
  int32_t submenu;
};

// A dialog made by IDialogService::CreateDialog.
struct IHostDialog : IUnknown {
  static constexpr Guid kIid{0x5A1E1304, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x94}};

  // The layout id the dialog was made from ("DlgSortBookmarks"); a new string.
  virtual HRESULT GetLayoutId(BString* id) = 0;
  // The dialog's window (0 before it is shown).
  virtual HRESULT GetWindow(WindowHandle* window) = 0;
  // The control of a layout id, with a reference added; null and S_FALSE when the layout has
  // no such control.
  virtual HRESULT GetControl(const char16_t* id, IDialogControl** control) = 0;
  // Ends the dialog with result: a modal run returns it; a modeless dialog closes. S_FALSE
  // when the dialog had already ended.
  virtual HRESULT EndDialog(int32_t result) = 0;
  // Whether the dialog runs modally.
  virtual HRESULT IsModal(bool* modal) = 0;
  // Brings a modeless dialog to the front (kDialogActivated).
  virtual HRESULT BringToFront() = 0;

  // A window timer: kDialogTimer with the id every periodMs milliseconds until KillTimer or
  // the dialog's end. Setting an id again restarts it. E_INVALIDARG for a period of 0.
  virtual HRESULT SetTimer(uint32_t id, uint32_t periodMs) = 0;
  // S_FALSE when no such timer runs.
  virtual HRESULT KillTimer(uint32_t id) = 0;

  // A message box owned by the dialog; *answer (may be null) receives a MessageAnswer.
  virtual HRESULT ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                              int32_t captionLength, uint32_t style, int32_t* answer) = 0;
  // An input box over the dialog: S_OK and the typed text (a new string) on OK; S_FALSE and
  // null when the user cancelled.
  virtual HRESULT InputBox(const char16_t* title, const char16_t* prompt, const char16_t* initial,
                           BString* answer) = 0;
  // A pop-up menu of count entries next to anchor (may be null). S_OK and the chosen entry's
  // command; S_FALSE and 0 when nothing was chosen. E_INVALIDARG for a malformed menu.
  virtual HRESULT ShowMenu(const DialogMenuItem* items, int32_t count, IDialogControl* anchor,
                           int32_t* command) = 0;
  // The file-open dialog; filter is "Name|*.ext|...||". S_FALSE and null when cancelled.
  virtual HRESULT ChooseFile(const char16_t* filter, BString* path) = 0;

  // The host's page-range group (the controls "RangeCtl.*" of the layout). LoadPageRange
  // shows a "PagesRange" dictionary for a document (null: no page count known).
  // StorePageRange writes the controls back: E_INVALIDARG, leaving the dictionary as it was,
  // when they hold no usable range. GetPageRangeError gives S_OK when the controls hold a
  // usable range, S_FALSE and the reason otherwise. E_FAIL without such controls.
  virtual HRESULT LoadPageRange(ICabItem* pagesRange, IHostDocument* document) = 0;
  virtual HRESULT StorePageRange(ICabItem* pagesRange) = 0;
  virtual HRESULT GetPageRangeError(BString* reason) = 0;

  // The host's preset button (the control "btn.presets"): the list of presets kept under the
  // settings item `presets` (an "Items" array of ID, Name, Desc, Flags, Data dictionaries and a
  // "_Removed" array of ids), addressed for the user by settingsPath. options is the working
  // option set: taking a preset copies its "Data" over it and sends kDialogHostChanged; saving
  // stores a copy of it (after kDialogSavingPreset). currentId (may be null) is the preset
  // shown first. Every change of the list is written to the settings file at once; when
  // that fails the user is told, and the list stays as it was in memory and on disk.
  virtual HRESULT AttachPresets(ICabItem* presets, const char16_t* settingsPath, ICabItem* options,
                                const char16_t* currentId) = 0;
  // The id of the preset the options were last taken from or saved as; empty for none.
  virtual HRESULT GetCurrentPreset(BString* id) = 0;
};

// What a dialog is made from.
struct DialogDescription {
  // The whole layout resource (UTF-8 XML) and the id of the dialog in it.
  const uint8_t* layout;
  uint32_t layoutSize;
  const char16_t* layoutId;
  // The window the dialog belongs to (0: none).
  WindowHandle owner;
  // Receives every message; the dialog holds a reference until it is destroyed.
  IDialogHandler* handler;
};

// A property sheet: one modal window that shows several page dialogs, one at a time, above
// a single OK and Cancel of its own. Each page is a dialog of the layout resource (a page
// layout has no OK or Cancel); its handler gets the messages of an ordinary dialog:
// - kDialogInit for every page, in page order, when the sheet opens (so each page loads its
//   data at once, whichever page the user looks at first);
// - kDialogActivated when the user turns to the page;
// - at the sheet's OK, kDialogOk for every page in page order. A page accepts by ending its
//   dialog with kDialogResultOk (the host's default when the handler leaves the message
//   unhandled); a page that does not end keeps the whole sheet open, and the sheet turns to
//   it (it shows its own message first). Pages that accepted before it are asked again at
//   the next OK, so storing must be repeatable;
// - at the sheet's Cancel (or close box), kDialogCancel for every page;
// - kDialogDestroy for every page when the sheet closes.
// The sheet's buttons are the controls "btn.ok" and "btn.cancel" of the sheet; a page reaches
// them through IHostDialog::GetControl as if they were its own (to enable OK, say).
// IHostDialog::EndDialog of a page outside an OK round ends nothing but that page's answer.
struct PropertySheetPage {
  const char16_t* layoutId;
  IDialogHandler* handler;  // the sheet holds a reference until it closes
};

struct PropertySheetDescription {
  // The whole layout resource (UTF-8 XML) that holds every page's layout.
  const uint8_t* layout;
  uint32_t layoutSize;
  // The sheet's id (for scripts and front-ends) and its title as a text reference
  // ("$$$.<string id>" or plain text).
  const char16_t* sheetId;
  const char16_t* title;
  WindowHandle owner;
  const PropertySheetPage* pages;
  int32_t pageCount;
  // The page shown first (0-based).
  int32_t startPage;
};

struct IDialogService : IUnknown {
  static constexpr Guid kIid{0x5A1E1305, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x95}};
  // Whether someone can answer a dialog. A host without a user (a command line) answers
  // false; a module then runs its operations without dialogs.
  virtual HRESULT IsInteractive(bool* interactive) = 0;
  // Builds a dialog from the layout (the handler gets no message yet). E_INVALIDARG with
  // no dialog when the layout does not parse or has no dialog of that id; E_POINTER for a
  // null description, handler or out-pointer.
  virtual HRESULT CreateDialog(const DialogDescription* description, IHostDialog** dialog) = 0;
  // Runs the dialog modally: kDialogInit, then the user's work, then kDialogDestroy.
  // *result is the value of EndDialog (kDialogResultCancel when the user left it otherwise).
  // E_FAIL for a dialog already shown.
  virtual HRESULT RunModal(IHostDialog* dialog, int32_t* result) = 0;
  // Shows the dialog modelessly (kDialogInit) and returns; it lives until it ends or the
  // host closes it. E_FAIL for a dialog already shown.
  virtual HRESULT ShowModeless(IHostDialog* dialog) = 0;
  // Runs a property sheet modally (see PropertySheetDescription). *result is
  // kDialogResultOk after an OK that every page accepted, kDialogResultCancel otherwise.
  // E_INVALIDARG, with no page shown, when there is no page, the start page is outside the
  // pages, or a page's layout does not parse; E_POINTER for a null description, page handler
  // or out-pointer. S_FALSE and kDialogResultCancel when no one can answer it.
  virtual HRESULT RunPropertySheet(const PropertySheetDescription* description,
                                   int32_t* result) = 0;
};

}  // namespace zelta
