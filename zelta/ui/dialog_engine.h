// The host's dialog engine: makes dialogs from layout resources, runs them modally or
// modelessly, and stands in for the user. A headless host has no screen, so the user is a
// script: each dialog that is shown takes the next queued driver, which works the controls
// by id (DialogDriver) the way a person would; input boxes, menus and the file-open dialog
// take the next queued answer. A desktop front-end installs itself as the driver of every
// dialog instead and renders the same model.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/dialogs.h"
#include "host/page_range.h"
#include "zelta/ui/dialog.h"
#include "zelta/ui/property_sheet.h"

namespace zelta::ui {

class DialogDriver;

class DialogEngine {
 public:
  // Resolves a string id of a "$$$." reference (without the prefix); nullopt when unknown.
  using StringSource = std::function<std::optional<std::u16string>(std::u16string_view id)>;
  // Shows a message box and gives the answer (a MessageAnswer).
  using MessageBox =
      std::function<int32_t(std::u16string_view text, std::u16string_view caption, uint32_t)>;
  // The user at a dialog that has just been shown.
  using Driver = std::function<void(DialogDriver&)>;

  // What the script was asked, for tests.
  struct Prompt {
    std::u16string title, prompt, initial;
  };
  // A front-end's own input box, pop-up menu (shown beside `anchor`, which may be null) and
  // file-open dialog (filter as IHostDialog::ChooseFile gives it); nullopt when cancelled.
  using InputBox = std::function<std::optional<std::u16string>(const Prompt&)>;
  using MenuBox = std::function<std::optional<int32_t>(const DialogMenuItem* items, int32_t count,
                                                       DialogControl* anchor)>;
  using FileBox = std::function<std::optional<std::u16string>(std::u16string_view filter)>;

  DialogEngine();
  ~DialogEngine();
  DialogEngine(const DialogEngine&) = delete;
  DialogEngine& operator=(const DialogEngine&) = delete;

  void SetStrings(StringSource strings) { strings_ = std::move(strings); }
  void SetMessageBox(MessageBox box) { messageBox_ = std::move(box); }
  void SetPageRanges(ComPtr<IPageRangeService> service) { pageRanges_ = std::move(service); }
  // Writes the settings where they are kept; on failure *error names the file. Without a
  // writer, changes the dialogs make to the settings stay in memory.
  using SettingsWriter = std::function<HRESULT(std::string* error)>;
  void SetSettingsWriter(SettingsWriter writer) { settingsWriter_ = std::move(writer); }

  // Interactive: someone answers dialogs (a front-end, or a script that queued drivers).
  void SetInteractive(bool interactive) { interactive_ = interactive; }
  bool Interactive() const { return interactive_ || !drivers_.empty(); }
  // The driver of every dialog shown while no queued driver is left (a front-end); null
  // means an unattended dialog is cancelled.
  void SetDefaultDriver(Driver driver) { defaultDriver_ = std::move(driver); }
  // The front-end's boxes, asked once no queued answer is left (null: nobody answers).
  void SetInputBox(InputBox box) { inputBox_ = std::move(box); }
  void SetMenuBox(MenuBox box) { menuBox_ = std::move(box); }
  void SetFileBox(FileBox box) { fileBox_ = std::move(box); }
  // The user's work on the next dialog shown.
  void QueueDriver(Driver driver) { drivers_.push_back(std::move(driver)); }
  // The answer to the next input box (nullopt: cancel).
  void QueueInput(std::optional<std::u16string> answer) { inputs_.push_back(std::move(answer)); }
  // The entry to choose in the next pop-up menu, by its text (nullopt: close the menu).
  void QueueMenuChoice(std::optional<std::u16string> text) { menus_.push_back(std::move(text)); }
  // The path to choose in the next file-open dialog (nullopt: cancel).
  void QueueFile(std::optional<std::u16string> path) { files_.push_back(std::move(path)); }
  size_t PendingDrivers() const { return drivers_.size(); }
  const std::vector<Prompt>& Prompts() const { return prompts_; }
  // The texts of the menus shown, one vector per menu (separators as empty texts).
  const std::vector<std::vector<std::u16string>>& Menus() const { return menusShown_; }

  // IDialogService's work.
  HRESULT Create(const DialogDescription* description, IHostDialog** dialog, std::string* error);
  HRESULT RunModal(IHostDialog* dialog, int32_t* result);
  HRESULT ShowModeless(IHostDialog* dialog);
  // A property sheet (PropertySheet), run modally; its user is the next queued driver, whose
  // DialogDriver works the active page and the sheet's buttons.
  HRESULT RunPropertySheet(const PropertySheetDescription* description, int32_t* result);
  // Modeless dialogs that are open, oldest first.
  std::vector<ComPtr<Dialog>> OpenModeless() const;
  // Closes every modeless dialog (the main frame closes).
  void CloseAll();
  // Why the last Create failed.
  const std::string& LastError() const { return lastError_; }

  // For the dialogs.
  std::u16string ResolveText(std::u16string_view reference) const;
  int32_t Message(std::u16string_view text, std::u16string_view caption, uint32_t style);
  std::optional<std::u16string> Input(Prompt prompt);
  std::optional<int32_t> Menu(const DialogMenuItem* items, int32_t count,
                              DialogControl* anchor = nullptr);
  std::optional<std::u16string> File(std::u16string_view filter = {});
  IPageRangeService* PageRanges() const { return pageRanges_.Get(); }
  // Keeps a change a dialog made to the settings (a preset list): S_OK, or the writer's
  // failure after a message to the user that names the file.
  HRESULT WriteSettings();
  void Forget(Dialog* dialog) { live_.erase(dialog); }
  // A handler asked a dialog for a control its layout does not have: a misspelt id, which
  // no user would notice (the control just stays as it was).
  void NoteMissingControl(std::u16string_view layoutId, std::u16string_view id);
  // What was noted, as "layout: id", each once.
  const std::vector<std::u16string>& MissingControls() const { return missingControls_; }
  // Ends and destroys a modeless dialog that has ended.
  void Reap();

 private:
  void Drive(DialogDriver& user);

  StringSource strings_;
  MessageBox messageBox_;
  ComPtr<IPageRangeService> pageRanges_;
  SettingsWriter settingsWriter_;
  bool interactive_ = false;
  Driver defaultDriver_;
  InputBox inputBox_;
  MenuBox menuBox_;
  FileBox fileBox_;
  std::deque<Driver> drivers_;
  std::deque<std::optional<std::u16string>> inputs_, menus_, files_;
  std::vector<Prompt> prompts_;
  std::vector<std::vector<std::u16string>> menusShown_;
  std::vector<std::u16string> missingControls_;
  std::vector<ComPtr<Dialog>> modeless_;
  std::set<Dialog*> live_;
  WindowHandle nextWindow_ = 0x1000;
  std::string lastError_;
};

}  // namespace zelta::ui
