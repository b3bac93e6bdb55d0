// The base of the plug-in's operations. Each operation is also a host operation: it reports
// the id of its row and its parameter Cab ("Input", "Output", "Options" from the row's
// parameter root), and
// the host's operation runner can run it through Do without a user interface. Execute is the
// interactive cycle of a command: last used options, dialog, run, result messages. The run
// frame that every Do shares (permission, progress window, change group, counters, rollback,
// commit) is offered as protected pieces.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog_base.h"
#include "framework/operation_row.h"
#include "framework/plugin_context.h"
#include "host/app.h"
#include "host/document.h"
#include "host/operation.h"
#include "host/progress.h"
#include "host/undo.h"

namespace bm {

class BookmarkOperation
    : public zelta::ComObject<zelta::IHostOperation, zelta::IOperationCallback, zelta::IRunReport> {
 public:
  // IHostOperation
  zelta::HRESULT GetOperationId(zelta::Atom* id) override;
  zelta::HRESULT GetParams(zelta::ICab** params) override;
  zelta::HRESULT GetKind(int32_t* kind) override;
  // The run frame: resets the counters, reads "Input" and checks that the document permits
  // what the row says the run changes (a row that needs no input skips both), then calls Run.
  // All of it under a guard: an exception that escapes ends the run with E_OUTOFMEMORY
  // (std::bad_alloc) or E_FAIL, rolled back like any failed run.
  zelta::HRESULT Do(int32_t flags, intptr_t extra) final;
  // The row's options dialog over a working copy of "Options" (see RunOptionsDialog);
  // E_NOTIMPL for a row without one.
  zelta::HRESULT ShowDialog(zelta::WindowHandle owner, intptr_t extra) override;
  zelta::HRESULT GetObject(zelta::Atom id, zelta::IUnknown** object) override;
  // IOperationCallback: marks the operation as no longer pending.
  zelta::HRESULT Notify() override;
  // IRunReport
  zelta::HRESULT HadProblems(bool* problems) override;
  zelta::HRESULT GetClosingMessage(zelta::HRESULT result, zelta::BString* text) override;

  // The interactive cycle. runThroughHost hands the run to the host's operation runner;
  // otherwise Do is called directly. Returns the run's result (E_CANCELLED when the dialog
  // was not confirmed).
  virtual zelta::HRESULT Execute(bool runThroughHost, intptr_t extra);
  // The same cycle without the dialog: the last used options as they are, run through the
  // host, with the result messages. E_NOTIMPL for an operation whose run needs its dialog.
  virtual zelta::HRESULT ExecuteWithStoredOptions(intptr_t extra);
  // The same on a given document instead of the active one (a modeless dialog's document).
  zelta::HRESULT ExecuteOn(zelta::IHostDocument* document, intptr_t extra);

  // The operation's row: its ids, roots and menu place.
  const OperationRow& Row() const { return row_; }
  // The atom of the row's id ("op.bookmarks.changeBookmarkCase").
  zelta::Atom OperationAtom() const;

  // Copies the row's last used options item of the plug-in settings over "Options" (and back).
  virtual zelta::HRESULT LoadLastUsedOptions();
  virtual zelta::HRESULT SaveLastUsedOptions();
  // Whether the options are saved after a dialog that ended with hr (by default only on OK).
  virtual bool KeepOptions(zelta::HRESULT hr) const { return hr == zelta::S_OK; }

  // The parameter root and its items; null when the Cab could not be made.
  zelta::ComPtr<zelta::ICabItem> ParamsRoot() const;
  zelta::ComPtr<zelta::ICabItem> Options() const { return ParamItem(u"Options"); }
  zelta::ComPtr<zelta::ICabItem> Input() const { return ParamItem(u"Input"); }
  zelta::ComPtr<zelta::ICabItem> Output() const { return ParamItem(u"Output"); }

  // Set by a run in which some item failed (the run still succeeded).
  bool HasProblems() const { return hasProblems_; }
  // Why the last run failed on its options or input, naming the bad value (empty otherwise).
  const std::u16string& FailureDetail() const { return failureDetail_; }
  // -1 from construction until Notify.
  int32_t PendingMarker() const { return pending_; }

 protected:
  // Creates the parameter Cab from the row's parameter root. The row outlives the operation
  // (rows are constants).
  BookmarkOperation(PluginContext* plugin, const OperationRow& row);
  ~BookmarkOperation() override;

  // The run itself, on "Input" with "Options" (see IHostOperation::Do), called by Do once the
  // inputs are read and permitted. Code inside a run lets std::bad_alloc and other exceptions
  // go: Do turns them into the run's result.
  virtual zelta::HRESULT Run(int32_t flags, intptr_t extra) = 0;
  // Clears what the last run left in the operation; called by Do before the inputs are read.
  virtual void ResetRunState() {}
  // The result of a run whose inputs could not be read (hr): hr by default. An operation
  // that explains its input failures overrides it.
  virtual zelta::HRESULT InputFailed(zelta::HRESULT hr) { return hr; }
  // Looks up an object the operation keeps; S_FALSE and null by default.
  virtual zelta::HRESULT FindObject(zelta::Atom id, zelta::IUnknown** object);
  // Reads "Input" before a run or a dialog.
  virtual zelta::HRESULT ReadInputs() = 0;
  // Takes one element of an "Input" array (a document or a bookmark) for the bookmark-list
  // reader. The base accepts documents and refuses anything else with E_INVALIDARG.
  virtual zelta::HRESULT CollectInput(zelta::IUnknown* element);

  // The input readers. The bookmark-list reader takes the document from the
  // first element of the "Input" array and hands every element to CollectInput: E_FAIL for an
  // empty array, E_INVALIDARG when no document is found. The document reader takes the one
  // document of an IUnknown "Input" (or of an array's first element): E_INVALIDARG without one.
  zelta::HRESULT ReadBookmarkListInput();
  zelta::HRESULT ReadDocumentInput();

  // Puts objects into "Input" or "Output" (an array is refilled, an object set).
  zelta::HRESULT SetInput(const std::vector<zelta::IUnknown*>& objects);
  zelta::HRESULT SetOutput(const std::vector<zelta::IUnknown*>& objects);

  // --- The run frame ---
  // Resets the counters and flags and drops an earlier change group and progress window.
  void BeginRun();
  // E_NO_PERMISSION unless the Input document permits changes of this kind; E_INVALIDARG
  // without a document.
  zelta::HRESULT CheckPermission(RunChanges changes);
  // Opens the progress window unless flags has kDoNoProgress or kDoNoProgressAlt. The texts
  // are string ids: the window title, the per-item text ("%1" the item) and the status
  // ("%1" processed, "%2" total).
  void OpenProgress(int32_t flags, std::u16string_view titleId, std::u16string_view textId,
                    std::u16string_view statusId);
  // Sets the total the progress counts to and puts the window at 0.
  void StartProgress(uint32_t total);
  // One processed item: E_CANCELLED when the user asked to stop; otherwise counts the item and
  // shows its text.
  zelta::HRESULT StepProgress(std::u16string_view itemText);
  // Opens a change group labelled by labelId unless flags has kDoNoChangeGroup.
  zelta::HRESULT OpenChangeGroup(int32_t flags, std::u16string_view labelId);
  // Ends the run with hr: closes the progress window (at the final count after success),
  // rolls the change group back on failure, gives 1 when nothing changed, otherwise writes
  // the output objects into "Output" and commits. Returns the run's final result.
  zelta::HRESULT FinishRun(zelta::HRESULT hr, const std::vector<zelta::IUnknown*>& output);

  // Runs a dialog modally over a working copy of "Options" (made from the row's options root):
  // S_OK when the user confirmed, and the copy is then written back; S_FALSE when not, leaving
  // "Options" as it was; a failure when the dialog could not be shown. makeDialog gets the
  // working copy.
  using DialogMaker = std::function<zelta::ComPtr<DialogBase>(zelta::ICabItem* working)>;
  zelta::HRESULT RunOptionsDialog(zelta::WindowHandle owner, const DialogMaker& makeDialog);

  // Keeps the detail of a failure caused by the options and shows it to the user.
  void ReportFailureDetail(std::u16string detail);
  // Shows a warning about the input of a run that goes on (a line left out, say).
  void ReportWarning(std::u16string_view text);

  void MarkChanged() { nothingChanged_ = false; }
  void MarkProblem() { hasProblems_ = true; }
  bool NothingChanged() const { return nothingChanged_; }
  bool ProgressShown() const { return static_cast<bool>(progress_); }
  uint32_t Processed() const { return processed_; }
  uint32_t Total() const { return total_; }

  PluginContext* Plugin() const { return plugin_.Get(); }
  zelta::IHostApp* App() const;
  // The host's selections ("ZLK"); null without a plug-in or host.
  zelta::ISelectionService* Selections() const { return plugin_ ? plugin_->Selections() : nullptr; }
  zelta::IHostDocument* Document() const { return document_.Get(); }
  void SetDocument(zelta::IHostDocument* document) { document_ = document; }
  zelta::IHostChangeGroup* ChangeGroup() const { return changeGroup_.Get(); }
  std::u16string LoadString(std::u16string_view id) const;

 private:
  // BeginRun, the inputs and the permission; S_OK when Run may start.
  zelta::HRESULT StartRun();
  // Execute and ExecuteWithStoredOptions: askUser shows the dialog (and keeps its options).
  // document: the document to work on (null: the active one).
  zelta::HRESULT ExecuteCycle(bool runThroughHost, intptr_t extra, bool askUser,
                              zelta::IHostDocument* document = nullptr);
  zelta::ComPtr<zelta::ICabItem> ParamItem(const char16_t* name) const;
  void ShowMessage(std::u16string_view text, uint32_t style);
  // The string id of the message that closes a successful run with result (empty for none).
  std::u16string_view ClosingMessageId(zelta::HRESULT result) const;
  zelta::HRESULT CloseRun(zelta::HRESULT hr, const std::vector<zelta::IUnknown*>& output);
  zelta::ComPtr<zelta::ICabItem> LastUsedOptionsItem() const;

  zelta::ComPtr<PluginContext> plugin_;
  const OperationRow& row_;
  zelta::ComPtr<zelta::ICab> params_;
  int32_t pending_ = -1;
  bool hasProblems_ = false;
  bool executing_ = false;  // inside Execute, which shows the closing message itself
  std::u16string failureDetail_;

  zelta::ComPtr<zelta::IHostDocument> document_;
  zelta::ComPtr<zelta::IHostProgress> progress_;
  zelta::ComPtr<zelta::IHostChangeGroup> changeGroup_;
  std::u16string progressText_;
  std::u16string statusText_;
  bool nothingChanged_ = true;
  uint32_t processed_ = 0;
  uint32_t total_ = 0;
};

}  // namespace bm
