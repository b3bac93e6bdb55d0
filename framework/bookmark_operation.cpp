#include "framework/bookmark_operation.h"

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "host/call_guard.h"
#include "host/ui.h"
#include "support/result_text.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr int32_t kPluginOperationKind = 2;
// Owner-modal message boxes with an OK and a Cancel button, and the error or warning icon.
constexpr uint32_t kFailureStyle = 0x80000401;
constexpr uint32_t kWarningStyle = 0x80000301;
constexpr std::u16string_view kCaptionId = u"bookmarksPlugin.cmd.name";

// The document an Input element stands for: the document itself, or a bookmark's document.
ComPtr<zelta::IHostDocument> DocumentOf(zelta::IUnknown* element) {
  if (!element) return nullptr;
  if (auto document = zelta::QueryAs<zelta::IHostDocument>(element)) return document;
  ComPtr<zelta::IHostDocument> document;
  if (auto bookmark = zelta::QueryAs<zelta::IHostBookmark>(element))
    bookmark->GetDocument(document.Put());
  return document;
}

}  // namespace

BookmarkOperation::BookmarkOperation(PluginContext* plugin, const OperationRow& row)
    : plugin_(plugin), row_(row) {
  if (plugin_) params_ = plugin_->CreateCab(std::u16string(row_.paramsRoot).c_str());
}

BookmarkOperation::~BookmarkOperation() = default;

zelta::Atom BookmarkOperation::OperationAtom() const { return InternId(App(), row_.id); }

HRESULT BookmarkOperation::GetOperationId(zelta::Atom* id) {
  if (!id) return zelta::E_POINTER;
  *id = OperationAtom();
  return zelta::S_OK;
}

HRESULT BookmarkOperation::GetParams(zelta::ICab** params) {
  if (!params) return zelta::E_POINTER;
  return params_.CopyTo(params);
}

HRESULT BookmarkOperation::GetKind(int32_t* kind) {
  if (!kind) return zelta::E_POINTER;
  *kind = kPluginOperationKind;
  return zelta::S_OK;
}

HRESULT BookmarkOperation::Do(int32_t flags, intptr_t extra) {
  ComPtr<BookmarkOperation> self(this);  // the run may drop the last outside reference
  bool returned = false;
  const HRESULT hr = zelta::GuardCall([&] {
    HRESULT result = StartRun();
    if (zelta::Succeeded(result)) result = Run(flags, extra);
    returned = true;
    return result;
  });
  if (returned) return hr;
  // Cut short by an exception: close the run's frame (progress window, change group).
  return zelta::GuardCall([&] { return CloseRun(hr, {}); });
}

HRESULT BookmarkOperation::ShowDialog(zelta::WindowHandle owner, intptr_t) {
  if (!row_.dialog) return zelta::E_NOTIMPL;
  return RunOptionsDialog(owner, [this](zelta::ICabItem* working) {
    return row_.dialog(Plugin(), working, Document());
  });
}

HRESULT BookmarkOperation::RunOptionsDialog(zelta::WindowHandle owner,
                                            const DialogMaker& makeDialog) {
  if (!plugin_) return zelta::E_FAIL;
  ComPtr<zelta::ICab> working = plugin_->CreateCab(std::u16string(row_.optionsRoot).c_str());
  auto options = Options();
  ComPtr<zelta::ICabItem> copy = CabRoot(working.Get());
  if (!copy || !options) return zelta::E_FAIL;
  HRESULT hr = copy->CopyFrom(options.Get());
  if (zelta::Failed(hr)) return hr;
  if (!document_) ReadDocumentInput();
  ComPtr<DialogBase> dialog = makeDialog(copy.Get());
  if (!dialog) return zelta::E_OUTOFMEMORY;
  int32_t result = zelta::kDialogResultCancel;
  hr = dialog->RunModal(owner, &result);
  if (zelta::Failed(hr)) return hr;
  if (hr != zelta::S_OK || result != zelta::kDialogResultOk) return zelta::S_FALSE;
  return options->CopyFrom(copy.Get());
}

HRESULT BookmarkOperation::GetObject(zelta::Atom id, zelta::IUnknown** object) {
  if (!object) return zelta::E_POINTER;
  *object = nullptr;
  if (id == zelta::kNoAtom) return zelta::E_INVALIDARG;
  HRESULT hr = zelta::GuardCall([&] { return FindObject(id, object); });
  if (zelta::Failed(hr) || !*object) {
    if (*object) (*object)->Release();
    *object = nullptr;
    return zelta::S_FALSE;
  }
  return zelta::S_OK;
}

HRESULT BookmarkOperation::Notify() {
  pending_ = 0;
  return zelta::S_OK;
}

HRESULT BookmarkOperation::FindObject(zelta::Atom, zelta::IUnknown** object) {
  if (object) *object = nullptr;
  return zelta::S_FALSE;
}

zelta::IHostApp* BookmarkOperation::App() const { return plugin_ ? plugin_->App() : nullptr; }

std::u16string BookmarkOperation::LoadString(std::u16string_view id) const {
  return LoadHostString(App(), id);
}

ComPtr<zelta::ICabItem> BookmarkOperation::ParamsRoot() const { return CabRoot(params_.Get()); }

ComPtr<zelta::ICabItem> BookmarkOperation::ParamItem(const char16_t* name) const {
  return CabItem(ParamsRoot().Get(), name);
}

ComPtr<zelta::ICabItem> BookmarkOperation::LastUsedOptionsItem() const {
  if (!plugin_) return nullptr;
  return CabItem(plugin_->SettingsRoot().Get(), std::u16string(row_.lastUsedItem).c_str());
}

HRESULT BookmarkOperation::LoadLastUsedOptions() {
  auto stored = LastUsedOptionsItem();
  auto options = Options();
  if (!stored || !options) return zelta::S_FALSE;
  return options->CopyFrom(stored.Get());
}

HRESULT BookmarkOperation::SaveLastUsedOptions() {
  auto stored = LastUsedOptionsItem();
  auto options = Options();
  if (!stored || !options) return zelta::S_FALSE;
  return stored->CopyFrom(options.Get());
}

HRESULT BookmarkOperation::SetInput(const std::vector<zelta::IUnknown*>& objects) {
  return SetCabObjects(Input().Get(), objects);
}

HRESULT BookmarkOperation::SetOutput(const std::vector<zelta::IUnknown*>& objects) {
  return SetCabObjects(Output().Get(), objects);
}

HRESULT BookmarkOperation::Execute(bool runThroughHost, intptr_t extra) {
  return ExecuteCycle(runThroughHost, extra, true);
}

HRESULT BookmarkOperation::ExecuteWithStoredOptions(intptr_t extra) {
  return ExecuteCycle(true, extra, false);
}

HRESULT BookmarkOperation::ExecuteOn(zelta::IHostDocument* document, intptr_t extra) {
  return ExecuteCycle(true, extra, false, document);
}

HRESULT BookmarkOperation::ExecuteCycle(bool runThroughHost, intptr_t extra, bool askUser,
                                        zelta::IHostDocument* given) {
  // Keeps this object alive while the host runs it.
  ComPtr<BookmarkOperation> self(this);
  zelta::IHostApp* app = App();

  ComPtr<zelta::IHostDocument> document(given);
  if (document || (app && app->GetActiveDocument(document.Put()) == zelta::S_OK && document))
    SetInput({static_cast<zelta::IUnknown*>(document.Get())});
  zelta::WindowHandle owner = 0;
  if (zelta::IWindowService* windows = plugin_ ? plugin_->Windows() : nullptr)
    windows->GetActiveWindow(&owner);

  LoadLastUsedOptions();
  HRESULT hr = zelta::S_OK;
  if (askUser) {
    hr = ShowDialog(owner, extra);
    if (KeepOptions(hr)) SaveLastUsedOptions();
  }

  HRESULT result = zelta::E_CANCELLED;
  if (hr == zelta::S_OK) {
    executing_ = true;
    if (runThroughHost && app) {
      result = app->RunOperation(this, 0, extra);
    } else {
      result = Do(0, extra);
    }
    executing_ = false;
  }

  if (result == zelta::E_CANCELLED) return result;
  if (zelta::Failed(result)) {
    ShowMessage(support::DescribeResult(App(), result), kFailureStyle);
  } else if (const std::u16string_view id = ClosingMessageId(result); !id.empty()) {
    ShowMessage(LoadString(id), kWarningStyle);
  }
  return result;
}

std::u16string_view BookmarkOperation::ClosingMessageId(HRESULT result) const {
  if (zelta::Failed(result)) return {};
  // A run with problems and no changes gets the warning only: one message per run.
  if (hasProblems_) return u"bookmarksPlugin.msg.oper.warning";
  if (result == zelta::S_FALSE) return u"bookmarksPlugin.msg.oper.noChanges";
  return {};
}

HRESULT BookmarkOperation::HadProblems(bool* problems) {
  if (!problems) return zelta::E_POINTER;
  *problems = hasProblems_;
  return zelta::S_OK;
}

HRESULT BookmarkOperation::GetClosingMessage(HRESULT result, zelta::BString* text) {
  if (!text) return zelta::E_POINTER;
  const std::u16string_view id = ClosingMessageId(result);
  const HRESULT hr = zelta::ReturnString(id.empty() ? std::u16string() : LoadString(id), text);
  return zelta::Failed(hr) || !id.empty() ? hr : zelta::S_FALSE;
}

void BookmarkOperation::ShowMessage(std::u16string_view text, uint32_t style) {
  zelta::IUiExtension* ui = plugin_ ? plugin_->Ui() : nullptr;
  if (!ui) return;
  zelta::WindowHandle owner = 0;
  zelta::IHostApp* app = App();
  ComPtr<zelta::IHostDocument> document = document_;
  if (!document && app) app->GetActiveDocument(document.Put());
  zelta::IWindowService* windows = plugin_ ? plugin_->Windows() : nullptr;
  if (document && windows) windows->GetDocumentWindow(document.Get(), &owner);
  const std::u16string caption = LoadString(kCaptionId);
  ui->ShowMessage(text.data(), static_cast<int32_t>(text.size()), caption.c_str(),
                  static_cast<int32_t>(caption.size()), style, owner, nullptr);
}

HRESULT BookmarkOperation::CollectInput(zelta::IUnknown* element) {
  if (zelta::QueryAs<zelta::IHostDocument>(element)) return zelta::S_OK;
  return zelta::E_INVALIDARG;
}

HRESULT BookmarkOperation::ReadBookmarkListInput() {
  document_.Reset();
  auto elements = CabObjects(Input().Get());
  if (elements.empty()) return zelta::E_FAIL;
  document_ = DocumentOf(elements.front().Get());
  for (const auto& element : elements) {
    HRESULT hr = CollectInput(element.Get());
    if (zelta::Failed(hr)) return hr;
  }
  return document_ ? zelta::S_OK : zelta::E_INVALIDARG;
}

HRESULT BookmarkOperation::ReadDocumentInput() {
  document_.Reset();
  auto elements = CabObjects(Input().Get());
  if (!elements.empty()) document_ = DocumentOf(elements.front().Get());
  return document_ ? zelta::S_OK : zelta::E_INVALIDARG;
}

void BookmarkOperation::ReportFailureDetail(std::u16string detail) {
  failureDetail_ = std::move(detail);
  ShowMessage(failureDetail_, kFailureStyle);
}

void BookmarkOperation::ReportWarning(std::u16string_view text) {
  ShowMessage(text, kWarningStyle);
}

void BookmarkOperation::BeginRun() {
  processed_ = 0;
  total_ = 0;
  nothingChanged_ = true;
  hasProblems_ = false;
  failureDetail_.clear();
  if (changeGroup_) changeGroup_->Rollback();
  changeGroup_.Reset();
  if (progress_) progress_->Close();
  progress_.Reset();
}

HRESULT BookmarkOperation::StartRun() {
  BeginRun();
  ResetRunState();
  if (row_.changes == RunChanges::kNoInput) return zelta::S_OK;
  const HRESULT hr = ReadInputs();
  if (zelta::Failed(hr)) return InputFailed(hr);
  return CheckPermission(row_.changes);
}

HRESULT BookmarkOperation::CheckPermission(RunChanges changes) {
  if (!document_) return zelta::E_INVALIDARG;
  struct Need {
    int32_t kind, change;
  };
  std::vector<Need> needs;
  switch (changes) {
    case RunChanges::kNoInput:
    case RunChanges::kNothing:
      break;
    case RunChanges::kBookmarkTitles:
      needs = {{zelta::kPermModify, zelta::kPermEditItems}};
      break;
    case RunChanges::kNewBookmarks:
      needs = {{zelta::kPermModify, zelta::kPermAddItems}};
      break;
    case RunChanges::kBookmarkOrder:
      needs = {{zelta::kPermModify, zelta::kPermAddItems},
               {zelta::kPermModify, zelta::kPermArrangeItems}};
      break;
    case RunChanges::kPagesAndLinks:
      needs = {{zelta::kPermModify, zelta::kPermInsertPages},
               {zelta::kPermAnnotate, zelta::kPermAddItems}};
      break;
  }
  for (const Need& need : needs) {
    int32_t answer = 0;
    if (zelta::Failed(
            document_->IsPermitted(need.kind, need.change, zelta::kPermReserved, &answer)) ||
        answer != 1)
      return zelta::E_NO_PERMISSION;
  }
  return zelta::S_OK;
}

void BookmarkOperation::OpenProgress(int32_t flags, std::u16string_view titleId,
                                     std::u16string_view textId, std::u16string_view statusId) {
  if (flags & (zelta::kDoNoProgress | zelta::kDoNoProgressAlt)) return;
  zelta::IUiExtension* ui = plugin_ ? plugin_->Ui() : nullptr;
  if (!ui || zelta::Failed(ui->CreateProgress(progress_.Put())) || !progress_) {
    progress_.Reset();
    return;
  }
  const std::u16string title = LoadString(titleId);
  progress_->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
  progress_->SetStyle(zelta::kProgressCancellable, zelta::kProgressCancellable);
  progressText_ = LoadString(textId);
  statusText_ = LoadString(statusId);
}

void BookmarkOperation::StartProgress(uint32_t total) {
  total_ = total;
  processed_ = 0;
  if (!progress_) return;
  progress_->Reset();
  progress_->SetRange(total);
  progress_->SetPosition(0);
}

HRESULT BookmarkOperation::StepProgress(std::u16string_view itemText) {
  if (!progress_) return zelta::S_OK;
  bool cancelled = false;
  if (zelta::Succeeded(progress_->IsCancelled(&cancelled)) && cancelled) return zelta::E_CANCELLED;
  ++processed_;
  const std::u16string text = FormatInserts(progressText_, itemText);
  const std::u16string status =
      FormatInserts(statusText_, NumberText(processed_), NumberText(total_));
  progress_->SetText(text.c_str(), static_cast<int32_t>(text.size()));
  progress_->SetStatusText(status.c_str(), static_cast<int32_t>(status.size()));
  progress_->SetPosition(processed_);
  return zelta::S_OK;
}

HRESULT BookmarkOperation::OpenChangeGroup(int32_t flags, std::u16string_view labelId) {
  if (flags & zelta::kDoNoChangeGroup) return zelta::S_OK;
  if (!document_) return zelta::E_INVALIDARG;
  ComPtr<zelta::IHostUndoHistory> history;
  HRESULT hr = document_->GetUndoHistory(history.Put());
  if (zelta::Failed(hr)) return hr;
  if (!history) return zelta::E_FAIL;
  const std::u16string label(labelId);
  hr = history->BeginGroup(label.c_str(), static_cast<int32_t>(label.size()), changeGroup_.Put());
  if (zelta::Succeeded(hr) && !changeGroup_) hr = zelta::E_FAIL;
  return zelta::Failed(hr) ? hr : zelta::S_OK;
}

HRESULT BookmarkOperation::FinishRun(HRESULT hr, const std::vector<zelta::IUnknown*>& output) {
  const HRESULT result = CloseRun(hr, output);
  // Run by the host's operation runner rather than by the plug-in's own command, the run is
  // the only one that knows of its problems, so it reports them itself.
  if (zelta::Succeeded(result) && hasProblems_ && !executing_)
    ShowMessage(LoadString(ClosingMessageId(result)), kWarningStyle);
  return result;
}

HRESULT BookmarkOperation::CloseRun(HRESULT hr, const std::vector<zelta::IUnknown*>& output) {
  if (progress_) {
    if (zelta::Succeeded(hr)) progress_->SetPosition(total_);
    progress_->Close();
    progress_.Reset();
  }
  ComPtr<zelta::IHostChangeGroup> group = std::move(changeGroup_);
  if (zelta::Failed(hr)) {
    if (group) group->Rollback();
    return hr;
  }
  if (nothingChanged_) {
    // Nothing to record: the group closes without an undo step.
    if (group) group->Rollback();
    return zelta::S_FALSE;
  }
  SetOutput(output);
  if (group) {
    HRESULT commit = group->Commit();
    if (zelta::Failed(commit)) return commit;
  }
  return zelta::S_OK;
}

}  // namespace bm
