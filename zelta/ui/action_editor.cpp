#include "zelta/ui/action_editor.h"

#include <charconv>

namespace zelta::ui {

namespace {

std::u16string Owned(const OwnedString& text) { return std::u16string(text.View()); }

std::u16string Digits(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Trimmed(const std::u16string& text) {
  constexpr std::u16string_view kBlanks = u" \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A whole page number as typed; 0 for anything else.
int64_t PageNumber(const std::u16string& text) {
  std::string ascii;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9' || ascii.size() > 9) return 0;
    ascii.push_back(static_cast<char>(c));
  }
  int64_t value = 0;
  std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  return value;
}

}  // namespace

ActionEditor::ActionEditor(DialogEngine& engine, IHostActionList* actions, IHostDocument* document)
    : EditorHandler(engine), actions_(actions), document_(document) {}

void ActionEditor::OnInit() {
  int32_t count = 0;
  actions_->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    Entry entry;
    if (actions_->GetItem(i, entry.kept.Put()) == S_OK && entry.kept)
      original_.push_back(std::move(entry));
  }
  entries_ = original_;
  DialogControl* kinds = Control(u"act.cb.type");
  for (const char16_t* id : {u"editor.actions.kind.goTo", u"editor.actions.kind.uri",
                             u"editor.actions.kind.launch", u"editor.actions.kind.javaScript"}) {
    const std::u16string text = Text(id);
    kinds->InsertItem(-1, text.c_str(), static_cast<int32_t>(text.size()), nullptr);
  }
  kinds->SetState(kGoToPage);
  ShowEntries();
}

void ActionEditor::OnControl(DialogControl* sender) {
  if (!sender) return;
  if (sender->Id() == u"act.btn.add") Add();
  if (sender->Id() == u"act.btn.remove") Remove();
  bool any = false;
  for (const auto& entry : Control(u"act.list")->Entries()) any = any || entry.selected;
  Control(u"act.btn.remove")->Enable(any);
}

void ActionEditor::Add() {
  DialogControl* targetEdit = Control(u"act.e.target");
  Entry entry;
  entry.kind = std::max(0, Control(u"act.cb.type")->State());
  entry.target = Trimmed(targetEdit->Text());
  if (entry.target.empty()) return Warn(Text(u"editor.actions.noTarget"));
  if (entry.kind == kGoToPage) {
    int32_t pages = 0;
    document_->GetPageCount(&pages);
    const int64_t page = PageNumber(entry.target);
    if (page < 1 || page > pages) return Warn(Text(u"editor.actions.badPage", Digits(pages)));
    entry.target = Digits(page);
  }
  entries_.push_back(std::move(entry));
  targetEdit->SetText(u"", 0);
  ShowEntries();
}

void ActionEditor::Remove() {
  const auto& rows = Control(u"act.list")->Entries();
  for (size_t i = rows.size(); i-- > 0;)
    if (rows[i].selected && i < entries_.size()) entries_.erase(entries_.begin() + i);
  ShowEntries();
}

void ActionEditor::ShowEntries() {
  DialogControl* list = Control(u"act.list");
  list->ClearItems();
  for (const Entry& entry : entries_) {
    const std::u16string text = Describe(entry);
    list->InsertItem(-1, text.c_str(), static_cast<int32_t>(text.size()), nullptr);
  }
}

std::u16string ActionEditor::Describe(const Entry& entry) const {
  if (!entry.kept) {
    static constexpr const char16_t* kAdded[] = {u"editor.actions.goTo", u"editor.actions.uri",
                                                 u"editor.actions.launch",
                                                 u"editor.actions.javaScript"};
    return Text(kAdded[entry.kind], entry.target);
  }
  IHostAction* action = entry.kept.Get();
  int32_t type = kActionOther;
  action->GetType(&type);
  OwnedString text;
  PageDestination dest;
  switch (type) {
    case kActionGoTo:
      if (action->GetDestinationName(text.Put()) == S_OK)
        return Text(u"editor.actions.goToNamed", text.View());
      if (action->GetDestination(&dest) == S_OK)
        return Text(u"editor.actions.goTo", Digits(int64_t{dest.page} + 1));
      return Text(u"editor.actions.goToNowhere");
    case kActionGoToR:
      action->GetFile(text.Put());
      return Text(u"editor.actions.goToRemote", Owned(text));
    case kActionURI:
      action->GetUri(text.Put());
      return Text(u"editor.actions.uri", Owned(text));
    case kActionLaunch:
      action->GetFile(text.Put());
      return Text(u"editor.actions.launch", Owned(text));
    case kActionJavaScript:
      action->GetScript(text.Put());
      return Text(u"editor.actions.javaScript", Owned(text));
    default:
      action->GetTypeName(text.Put());
      return Text(u"editor.actions.other", Owned(text));
  }
}

bool ActionEditor::WriteList(const std::vector<Entry>& entries) {
  int32_t count = 0;
  actions_->GetCount(&count);
  while (count > 0) actions_->RemoveAt(--count);
  for (const Entry& entry : entries) {
    HRESULT hr = S_OK;
    const auto* target = entry.target.c_str();
    const auto length = static_cast<int32_t>(entry.target.size());
    if (entry.kept) {
      hr = actions_->Append(entry.kept.Get());
    } else if (entry.kind == kGoToPage) {
      // A page without a view of its own keeps the reader's zoom and place.
      PageDestination dest;
      dest.page = static_cast<int32_t>(PageNumber(entry.target) - 1);
      hr = actions_->AppendGoTo(&dest, nullptr);
    } else if (entry.kind == kWebLink) {
      hr = actions_->AppendUri(target, length, nullptr);
    } else if (entry.kind == kFile) {
      hr = actions_->AppendLaunch(target, length, nullptr);
    } else {
      hr = actions_->AppendJavaScript(target, length, nullptr);
    }
    if (Failed(hr)) return false;
  }
  return true;
}

bool ActionEditor::OnOk() {
  if (WriteList(entries_)) return true;
  // The list goes back to what it held, so a refused edit changes nothing.
  WriteList(original_);
  Warn(Text(u"editor.actions.notSet"));
  return false;
}

}  // namespace zelta::ui
