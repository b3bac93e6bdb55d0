#include "framework/dialog_base.h"

#include "framework/bookmark_source.h"
#include "framework/host_strings.h"
#include "host/call_guard.h"
#include "host/ui.h"
#include "platform/embedded_resource.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr int kLayoutResourceId = 101;
// Owner-modal OK box with the warning icon.
constexpr uint32_t kWarningStyle = 0x80000301;
// The result of the default handler: not handled.
constexpr int32_t kNotHandled = 1;

std::u16string Take(zelta::OwnedString& text) { return text.Str(); }

}  // namespace

DialogBase::DialogBase(PluginContext* plugin, std::u16string layoutId, zelta::ICabItem* options,
                       zelta::IHostDocument* document)
    : plugin_(plugin), layoutId_(std::move(layoutId)), options_(options), document_(document) {}

DialogBase::~DialogBase() = default;

HRESULT DialogBase::GetTypeInfoCount(uint32_t* count) {
  if (!count) return zelta::E_POINTER;
  *count = 1;
  return zelta::S_OK;
}

std::span<const uint8_t> DialogBase::LayoutResource() const {
  return platform::FindResource("XML", kLayoutResourceId);
}

HRESULT DialogBase::Create(zelta::WindowHandle owner, ComPtr<zelta::IHostDialog>* dialog,
                           ComPtr<zelta::IDialogService>* service) {
  zelta::IUiExtension* ui = plugin_ ? plugin_->Ui() : nullptr;
  *service = zelta::QueryAs<zelta::IDialogService>(ui);
  if (!*service) return zelta::E_NOTIMPL;
  bool interactive = false;
  if (zelta::Failed((*service)->IsInteractive(&interactive)) || !interactive) return zelta::S_FALSE;
  // The whole layout resource is read for every dialog.
  const std::span<const uint8_t> layout = LayoutResource();
  const zelta::DialogDescription description{layout.data(), static_cast<uint32_t>(layout.size()),
                                             layoutId_.c_str(), owner, this};
  HRESULT hr = (*service)->CreateDialog(&description, dialog->Put());
  if (zelta::Failed(hr) || !*dialog) {
    const std::u16string text =
        FormatInserts(LoadString(u"bookmarksPlugin.msg.dlg.loadFailed"), layoutId_);
    const std::u16string caption = LoadString(u"bookmarksPlugin.cmd.name");
    ui->ShowMessage(text.c_str(), static_cast<int32_t>(text.size()), caption.c_str(),
                    static_cast<int32_t>(caption.size()), kWarningStyle, owner, nullptr);
    return zelta::E_FAIL;
  }
  return zelta::S_OK;
}

HRESULT DialogBase::RunModal(zelta::WindowHandle owner, int32_t* result) {
  if (!result) return zelta::E_POINTER;
  *result = zelta::kDialogResultCancel;
  ComPtr<DialogBase> self(this);
  ComPtr<zelta::IHostDialog> dialog;
  ComPtr<zelta::IDialogService> service;
  HRESULT hr = Create(owner, &dialog, &service);
  if (hr != zelta::S_OK) return hr;
  return service->RunModal(dialog.Get(), result);
}

HRESULT DialogBase::ShowModeless(zelta::WindowHandle owner) {
  ComPtr<DialogBase> self(this);
  ComPtr<zelta::IHostDialog> dialog;
  ComPtr<zelta::IDialogService> service;
  HRESULT hr = Create(owner, &dialog, &service);
  if (hr != zelta::S_OK) return hr;
  return service->ShowModeless(dialog.Get());
}

HRESULT DialogBase::RunSheet(PluginContext* plugin, std::u16string_view sheetId,
                             zelta::WindowHandle owner, const std::vector<DialogBase*>& pages,
                             int32_t* result) {
  if (!result) return zelta::E_POINTER;
  *result = zelta::kDialogResultCancel;
  if (pages.empty()) return zelta::E_INVALIDARG;
  zelta::IUiExtension* ui = plugin ? plugin->Ui() : nullptr;
  auto service = zelta::QueryAs<zelta::IDialogService>(ui);
  if (!service) return zelta::E_NOTIMPL;
  bool interactive = false;
  if (zelta::Failed(service->IsInteractive(&interactive)) || !interactive) return zelta::S_FALSE;
  std::vector<ComPtr<DialogBase>> keep(pages.begin(), pages.end());
  std::vector<zelta::PropertySheetPage> described;
  for (DialogBase* page : pages) described.push_back({page->layoutId_.c_str(), page});
  const std::span<const uint8_t> layout = pages.front()->LayoutResource();
  const std::u16string id(sheetId);
  const std::u16string title = u"$$$.bookmarksPlugin." + id;
  const zelta::PropertySheetDescription description{
      layout.data(),    static_cast<uint32_t>(layout.size()),   id.c_str(), title.c_str(), owner,
      described.data(), static_cast<int32_t>(described.size()), 0};
  HRESULT hr = service->RunPropertySheet(&description, result);
  if (zelta::Failed(hr)) {
    const std::u16string text =
        FormatInserts(pages.front()->LoadString(u"bookmarksPlugin.msg.dlg.loadFailed"), id);
    const std::u16string caption = pages.front()->LoadString(u"bookmarksPlugin.cmd.name");
    ui->ShowMessage(text.c_str(), static_cast<int32_t>(text.size()), caption.c_str(),
                    static_cast<int32_t>(caption.size()), kWarningStyle, owner, nullptr);
    return zelta::E_FAIL;
  }
  return hr;
}

HRESULT DialogBase::OnMessage(zelta::IHostDialog* dialog, zelta::IDialogMessage* message,
                              int32_t* result) {
  if (!result) return zelta::E_POINTER;
  *result = 0;
  if (!message) return zelta::S_OK;
  int32_t code = 0;
  intptr_t value = 0;
  message->GetCode(&code);
  message->GetValue(&value);
  ComPtr<zelta::IDialogControl> sender;
  message->GetSender(sender.Put());
  ComPtr<DialogBase> self(this);
  dialog_ = dialog;
  const HRESULT hr = zelta::GuardCall([&] {
    *result = Handle(code, sender.Get(), value);
    return zelta::S_OK;
  });
  if (*result == 0 && (code == zelta::kDialogOk || code == zelta::kDialogKey))
    message->SetHandled();
  if (code == zelta::kDialogDestroy) dialog_ = nullptr;
  return hr;
}

int32_t DialogBase::Handle(int32_t code, zelta::IDialogControl* sender, intptr_t value) {
  switch (code) {
    case zelta::kDialogControlChanged:
      OnControl(sender);
      break;
    case zelta::kDialogHostChanged:
      OnControl(nullptr);
      break;
    case zelta::kDialogInit:
      OnInit();
      break;
    case zelta::kDialogDestroy:
      OnDestroy();
      break;
    case zelta::kDialogActivated:
      OnActivated();
      break;
    case zelta::kDialogOk:
      if (OnOk() == 0) return 0;
      break;
    case zelta::kDialogCancel:
      OnCancel();
      break;
    case zelta::kDialogKey:
      if (OnKey(sender, value) == 0) return 0;
      break;
    case zelta::kDialogTimer:
      OnTimer(value);
      break;
    case zelta::kDialogItemActivated:
      OnItemActivated(sender, value);
      break;
    case zelta::kDialogSavingPreset:
      if (!OnSavingPreset()) return 0;
      break;
    default:
      break;
  }
  return kNotHandled;
}

void DialogBase::OnControl(zelta::IDialogControl* sender) {
  if (sender) {
    zelta::OwnedString id;
    sender->GetId(id.Put());
    for (const auto& [control, handler] : controlEvents_)
      if (control == id.View()) {
        handler();
        break;
      }
  }
  Refresh();
}

int32_t DialogBase::OnOk() {
  if (Store() && Validate()) End(zelta::kDialogResultOk);
  return 0;
}

int32_t DialogBase::OnKey(zelta::IDialogControl*, intptr_t) { return kNotHandled; }

void DialogBase::OnControlEvent(std::u16string_view id, std::function<void()> handler) {
  controlEvents_.emplace_back(std::u16string(id), std::move(handler));
}

void DialogBase::BindFlag(std::u16string_view checkId, int32_t* flags, int32_t bit, bool inverted) {
  const std::u16string id(checkId);
  OnControlEvent(id, [this, id, flags, bit, inverted] {
    *flags = Checked(id) != inverted ? *flags | bit : *flags & ~bit;
  });
}

ComPtr<zelta::IDialogControl> DialogBase::Control(std::u16string_view id) {
  ComPtr<zelta::IDialogControl> control;
  const std::u16string name(id);
  if (!dialog_ || dialog_->GetControl(name.c_str(), control.Put()) != zelta::S_OK || !control) {
    if (std::find(missing_.begin(), missing_.end(), name) == missing_.end())
      missing_.push_back(name);
    return nullptr;
  }
  return control;
}

std::u16string DialogBase::Text(std::u16string_view id) {
  zelta::OwnedString text;
  if (auto control = Control(id)) control->GetText(text.Put());
  return Take(text);
}

void DialogBase::SetText(std::u16string_view id, std::u16string_view text) {
  if (auto control = Control(id)) control->SetText(text.data(), static_cast<int32_t>(text.size()));
}

int32_t DialogBase::State(std::u16string_view id) {
  int32_t state = 0;
  if (auto control = Control(id)) control->GetState(&state);
  return state;
}

void DialogBase::SetState(std::u16string_view id, int32_t state) {
  if (auto control = Control(id)) control->SetState(state);
}

void DialogBase::Enable(std::u16string_view id, bool enabled) {
  if (auto control = Control(id)) control->Enable(enabled);
}

bool DialogBase::Enabled(std::u16string_view id) {
  bool enabled = false;
  if (auto control = Control(id)) control->IsEnabled(&enabled);
  return enabled;
}

void DialogBase::Show(std::u16string_view id, bool visible) {
  if (auto control = Control(id)) control->Show(visible);
}

void DialogBase::SetRange(std::u16string_view id, double min, double max, double step) {
  if (auto control = Control(id)) control->SetRange(min, max, step);
  std::erase_if(ranges_, [&](const NumberRange& range) { return range.id == id; });
  ranges_.push_back({std::u16string(id), min, max});
}

std::optional<double> DialogBase::CheckedNumber(std::u16string_view id) {
  std::optional<double> number = Number(id);
  if (number) return number;
  auto range = std::find_if(ranges_.begin(), ranges_.end(),
                            [&](const NumberRange& r) { return r.id == id; });
  auto text = [](double value) {
    const std::string digits = std::to_string(static_cast<long long>(value));
    return std::u16string(digits.begin(), digits.end());
  };
  const std::u16string message =
      range == ranges_.end() ? LoadString(u"bookmarksPlugin.msg.dlg.badNumber")
                             : FormatInserts(LoadString(u"bookmarksPlugin.msg.dlg.badNumber"),
                                             text(range->min), text(range->max));
  MessageText(message, LoadString(u"bookmarksPlugin." + layoutId_), kWarningStyle);
  return std::nullopt;
}

std::optional<double> DialogBase::Number(std::u16string_view id) {
  double value = 0;
  auto control = Control(id);
  if (!control || control->GetNumber(&value) != zelta::S_OK) return std::nullopt;
  return value;
}

void DialogBase::SetNumber(std::u16string_view id, double value) {
  if (auto control = Control(id)) control->SetNumber(value);
}

std::vector<std::u16string> DialogBase::Entries(std::u16string_view id) {
  std::vector<std::u16string> texts;
  auto control = Control(id);
  int32_t count = 0;
  if (!control || zelta::Failed(control->GetItemCount(&count))) return texts;
  for (int32_t i = 0; i < count; ++i) {
    zelta::OwnedString text;
    control->GetItemText(i, text.Put());
    texts.push_back(Take(text));
  }
  return texts;
}

void DialogBase::SetEntries(std::u16string_view id, const std::vector<std::u16string>& texts) {
  auto control = Control(id);
  if (!control) return;
  control->ClearItems();
  for (const auto& text : texts)
    control->InsertItem(-1, text.c_str(), static_cast<int32_t>(text.size()), nullptr);
}

std::vector<int32_t> DialogBase::SelectedEntries(std::u16string_view id) {
  std::vector<int32_t> selected;
  auto control = Control(id);
  int32_t count = 0;
  if (!control || zelta::Failed(control->GetItemCount(&count))) return selected;
  for (int32_t i = 0; i < count; ++i) {
    bool on = false;
    if (zelta::Succeeded(control->IsItemSelected(i, &on)) && on) selected.push_back(i);
  }
  return selected;
}

void DialogBase::FillCombo(std::u16string_view id,
                           std::initializer_list<std::u16string_view> stringIds) {
  std::vector<std::u16string> texts;
  for (std::u16string_view stringId : stringIds) texts.push_back(LoadString(stringId));
  SetEntries(id, texts);
}

std::u16string DialogBase::LoadString(std::u16string_view id) const {
  return LoadHostString(plugin_ ? plugin_->App() : nullptr, id);
}

int32_t DialogBase::Message(std::u16string_view textId, std::u16string_view captionId,
                            uint32_t style) {
  return MessageText(LoadString(textId), LoadString(captionId), style);
}

int32_t DialogBase::MessageText(std::u16string_view text, std::u16string_view caption,
                                uint32_t style) {
  int32_t answer = 0;
  if (dialog_)
    dialog_->ShowMessage(text.data(), static_cast<int32_t>(text.size()), caption.data(),
                         static_cast<int32_t>(caption.size()), style, &answer);
  return answer;
}

std::optional<std::u16string> DialogBase::Input(std::u16string_view titleId,
                                                std::u16string_view promptId,
                                                std::u16string_view initial) {
  if (!dialog_) return std::nullopt;
  const std::u16string title = LoadString(titleId), prompt = LoadString(promptId);
  const std::u16string start(initial);
  zelta::OwnedString answer;
  if (dialog_->InputBox(title.c_str(), prompt.c_str(), start.c_str(), answer.Put()) != zelta::S_OK)
    return std::nullopt;
  return Take(answer);
}

bool DialogBase::CheckSelection(bool includeSubLevels) {
  BookmarkList selected;
  if (document_)
    CollectSelectedBookmarks(plugin_ ? plugin_->Selections() : nullptr, document_.Get(), selected,
                             includeSubLevels);
  if (!selected.empty()) return true;
  Message(u"bookmarksPlugin.msg.dlg.noSelectedBookmarks.warning", u"bookmarksPlugin." + layoutId_,
          kWarningStyle);
  return false;
}

zelta::WindowHandle DialogBase::Window() const {
  zelta::WindowHandle window = 0;
  if (dialog_) dialog_->GetWindow(&window);
  return window;
}

void DialogBase::End(int32_t result) {
  if (dialog_) dialog_->EndDialog(result);
}

}  // namespace bm
