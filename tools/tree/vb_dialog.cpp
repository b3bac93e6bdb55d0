#include "tools/tree/vb_dialog.h"

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "host/editors.h"
#include "host/operation.h"
#include "host/ui.h"
#include "host/validation.h"
#include "tools/tree/bookmark_validator.h"
#include "tools/tree/vb_operation.h"

namespace bm {

namespace {

constexpr std::u16string_view kList = u"vb.list";
constexpr std::u16string_view kProgress = u"vb.progress";
// The check box of each option bit.
constexpr std::pair<std::u16string_view, int32_t> kChecks[] = {
    {u"chb.warnTitle", zelta::kVbCheckEmptyTitle},
    {u"chb.warnNoActions", zelta::kVbCheckNoActions},
    {u"chb.warnGoTo", zelta::kVbCheckGoTo},
    {u"chb.warnGoToRE", zelta::kVbCheckGoToRemote},
    {u"chb.warnLaunchURI", zelta::kVbCheckLaunchUri},
    {u"chb.warnOther", zelta::kVbCheckOther},
    {u"chb.verifyLinks", zelta::kVbVerifyFiles},
    {u"chb.warnNoGoTo", zelta::kVbCheckMissingGoTo},
};
constexpr uint32_t kQuestionStyle = zelta::kMsgOwnerModal | zelta::kMsgYesNoCancel;
// A message line of a record is shown indented under its heading.
constexpr std::u16string_view kLineIndent = u"    ";

std::u16string TitleOf(zelta::IHostBookmark* bookmark) {
  zelta::OwnedString title;
  if (bookmark) bookmark->GetTitle(title.Put());
  return title.Str();
}

}  // namespace

VBDialog::VBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document,
                   const OperationRow& row)
    : DialogBase(plugin, u"DlgValidateBookmarks", options, document), row_(row) {
  for (const auto& [id, bit] : kChecks) BindFlag(id, &flags_, bit);
  OnControlEvent(u"btn.validate", [this] { RunValidation(); });
  OnControlEvent(u"btn.highlight", [this] { Highlight(); });
  OnControlEvent(u"cmd.vb.renameTreeItem", [this] { Rename(); });
  OnControlEvent(u"cmd.vb.editTreeItem", [this] { EditActions(); });
  OnControlEvent(u"cmd.vb.removeTreeItem", [this] { Remove(); });
}

void VBDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  Show(kProgress, false);
  Refresh();
}

void VBDialog::OnCancel() { StoreFlags(); }

void VBDialog::StoreFlags() {
  if (Options()) Options()->SetInt(u"Flags", flags_);
}

void VBDialog::Refresh() {
  for (const auto& [id, bit] : kChecks) SetChecked(id, flags_ & bit);
  Enable(kList, !running_);
  Enable(u"btn.validate", !running_);
  Show(kProgress, running_);
  const size_t selected = SelectedRecords().size();
  Enable(u"btn.highlight", !running_ && selected == 1);
  Enable(u"cmd.vb.renameTreeItem", !running_ && selected == 1);
  Enable(u"cmd.vb.editTreeItem", !running_ && selected == 1 && ActionEditor());
  Enable(u"cmd.vb.removeTreeItem", !running_ && selected > 0);
}

void VBDialog::RunValidation() {
  records_.clear();
  ShowRecords();
  running_ = true;
  Refresh();
  auto operation = zelta::MakeCom<VBOperation>(Plugin(), row_);
  SetCabObjects(operation->Input().Get(), {static_cast<zelta::IUnknown*>(Document())});
  if (auto options = operation->Options()) options->SetInt(u"Flags", flags_);
  operation->SetListener(this);
  operation->Do(zelta::kDoNoProgress | zelta::kDoNoChangeGroup, 0);
  operation->SetListener(nullptr);
  running_ = false;
  Refresh();
}

void VBDialog::OnTotal(double total) { SetRange(kProgress, 0, total, 1); }

void VBDialog::OnRecord(zelta::IHostBookmark* bookmark, int32_t warnings) {
  {
    std::lock_guard<std::mutex> lock(pendingLock_);
    pending_.push_back({bookmark, warnings});
  }
  TakePending();
}

void VBDialog::OnFinished(zelta::HRESULT) { TakePending(); }

void VBDialog::TakePending() {
  std::vector<Record> taken;
  {
    std::lock_guard<std::mutex> lock(pendingLock_);
    taken.swap(pending_);
  }
  if (taken.empty()) return;
  records_.insert(records_.end(), taken.begin(), taken.end());
  ShowRecords();
}

void VBDialog::ShowRecords() {
  std::vector<std::u16string> rows;
  rowRecord_.clear();
  const std::u16string heading = LoadString(zelta::kValidationRecordId);
  for (size_t i = 0; i < records_.size(); ++i) {
    rows.push_back(FormatInserts(heading, NumberText(i + 1), TitleOf(records_[i].bookmark.Get())));
    rowRecord_.push_back(i);
    for (const zelta::ValidationMessage& line : zelta::ValidationMessages(records_[i].warnings)) {
      rows.push_back(std::u16string(kLineIndent) + FormatInserts(LoadString(line.id), line.insert));
      rowRecord_.push_back(i);
    }
  }
  SetEntries(kList, rows);
  SetText(u"l.invalidCount",
          FormatInserts(LoadString(zelta::kValidationHeadingId), NumberText(records_.size())));
}

std::vector<size_t> VBDialog::SelectedRecords() {
  std::vector<size_t> selected;
  for (int32_t row : SelectedEntries(kList))
    if (static_cast<size_t>(row) < rowRecord_.size() &&
        (selected.empty() || selected.back() != rowRecord_[row]))
      selected.push_back(rowRecord_[row]);
  return selected;
}

void VBDialog::Highlight() {
  const auto selected = SelectedRecords();
  zelta::ISelectionService* selections = Plugin() ? Plugin()->Selections() : nullptr;
  if (selected.size() != 1 || !selections) return;
  zelta::IUnknown* item = records_[selected[0]].bookmark.Get();
  selections->Select(Document(), AtomOf(u"selection.bookmarks"), &item, 1);
}

zelta::HRESULT VBDialog::RunHostOperation(const char16_t* id,
                                          const std::vector<zelta::IHostBookmark*>& input,
                                          const std::function<void(zelta::ICabItem*)>& options) {
  zelta::IHostApp* app = Plugin() ? Plugin()->App() : nullptr;
  zelta::ComPtr<zelta::IHostOperation> operation;
  if (!app || zelta::Failed(app->CreateOperation(AtomOf(id), operation.Put())) || !operation)
    return zelta::E_FAIL;
  zelta::ComPtr<zelta::ICab> params;
  operation->GetParams(params.Put());
  auto root = CabRoot(params.Get());
  std::vector<zelta::IUnknown*> objects(input.begin(), input.end());
  SetCabObjects(CabItem(root.Get(), u"Input").Get(), objects);
  options(CabItem(root.Get(), u"Options").Get());
  return app->RunOperation(operation.Get(), 0, 0);
}

void VBDialog::Rename() {
  const auto selected = SelectedRecords();
  if (selected.size() != 1) return;
  Record& record = records_[selected[0]];
  auto title = Input(u"bookmarksPlugin.msg.validateBookmarks.rename.title",
                     u"bookmarksPlugin.msg.validateBookmarks.rename.caption",
                     TitleOf(record.bookmark.Get()));
  if (!title) return;
  const zelta::HRESULT hr =
      RunHostOperation(u"op.bookmarks.setProps", {record.bookmark.Get()}, [&](zelta::ICabItem* o) {
        o->SetInt(u"Mask", zelta::kPropTitle);
        o->SetText(u"Title", title->c_str(), static_cast<int32_t>(title->size()));
      });
  // A bookmark with a title is no longer an empty-title finding.
  if (zelta::Succeeded(hr) && !title->empty()) record.warnings &= ~zelta::kWarnEmptyTitle;
  std::erase_if(records_, [](const Record& r) { return r.warnings == 0; });
  ShowRecords();
}

zelta::ComPtr<zelta::IHostEditors> VBDialog::ActionEditor() const {
  return GetHostComponent<zelta::IHostEditors>(Plugin() ? Plugin()->App() : nullptr, "EDT");
}

void VBDialog::EditActions() {
  const auto selected = SelectedRecords();
  const auto editor = ActionEditor();
  if (selected.size() != 1 || !editor) return;
  Record& record = records_[selected[0]];
  zelta::ComPtr<zelta::IHostActionList> actions;
  record.bookmark->GetActions(actions.Put());
  if (!actions || editor->EditActions(actions.Get(), Document(), Window()) != zelta::S_OK) return;
  const zelta::HRESULT hr =
      RunHostOperation(u"op.bookmarks.setProps", {record.bookmark.Get()}, [&](zelta::ICabItem* o) {
        o->SetInt(u"Mask", zelta::kPropActions);
        o->SetObject(u"Actions", actions.Get());
      });
  // The row shows what is still wrong with the bookmark, or goes when nothing is.
  if (zelta::Succeeded(hr))
    record.warnings = BookmarkValidator(Document(), flags_).Validate(record.bookmark.Get());
  std::erase_if(records_, [](const Record& r) { return r.warnings == 0; });
  ShowRecords();
}

void VBDialog::Remove() {
  const auto selected = SelectedRecords();
  if (selected.empty()) return;
  const int32_t answer =
      Message(u"bookmarksPlugin.msg.validateBookmarks.delete.caption",
              u"bookmarksPlugin.msg.validateBookmarks.delete.title", kQuestionStyle);
  if (answer != zelta::kAnswerYes && answer != zelta::kAnswerNo) return;
  std::vector<zelta::IHostBookmark*> bookmarks;
  for (size_t index : selected) bookmarks.push_back(records_[index].bookmark.Get());
  if (answer == zelta::kAnswerNo) {
    // Each bookmark's children take its place before it goes alone.
    for (zelta::IHostBookmark* bookmark : bookmarks) {
      std::vector<zelta::ComPtr<zelta::IHostBookmark>> children;
      zelta::ComPtr<zelta::IHostBookmark> child;
      bookmark->GetFirstChild(child.Put());
      while (child) {
        children.push_back(child);
        zelta::ComPtr<zelta::IHostBookmark> next;
        child->GetNextSibling(next.Put());
        child = next;
      }
      if (children.empty()) continue;
      zelta::ComPtr<zelta::IHostBookmark> parent;
      bookmark->GetParent(parent.Put());
      std::vector<zelta::IHostBookmark*> moved;
      for (auto& c : children) moved.push_back(c.Get());
      RunHostOperation(u"op.bookmarks.move", moved, [&](zelta::ICabItem* o) {
        o->SetObject(u"Parent", parent.Get());
        o->SetObject(u"InsertBefore", bookmark);
      });
    }
  }
  if (zelta::Succeeded(
          RunHostOperation(u"op.bookmarks.delete", bookmarks, [](zelta::ICabItem*) {})))
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
      records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(*it));
  ShowRecords();
}

}  // namespace bm
