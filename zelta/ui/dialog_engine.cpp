#include "zelta/ui/dialog_engine.h"

#include <algorithm>
#include <span>

#include "host/call_guard.h"
#include "host/ui.h"
#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog_driver.h"
#include "zelta/ui/dialog_layout_parser.h"

namespace zelta::ui {

namespace {

constexpr std::u16string_view kReferencePrefix = u"$$$.";

}  // namespace

DialogEngine::DialogEngine() = default;

DialogEngine::~DialogEngine() {
  CloseAll();
  // Dialogs the module still holds outlive the engine: they stop reaching it.
  for (Dialog* dialog : std::set<Dialog*>(live_)) dialog->Destroy();
}

std::u16string DialogEngine::ResolveText(std::u16string_view reference) const {
  if (reference.substr(0, kReferencePrefix.size()) != kReferencePrefix)
    return std::u16string(reference);
  const std::u16string_view id = reference.substr(kReferencePrefix.size());
  if (strings_)
    if (auto text = strings_(id)) return *text;
  return std::u16string(id);
}

HRESULT DialogEngine::Create(const DialogDescription* description, IHostDialog** dialog,
                             std::string* error) {
  if (!dialog) return E_POINTER;
  *dialog = nullptr;
  if (!description || !description->handler) return E_POINTER;
  lastError_.clear();
  if (!description->layout || !description->layoutSize || !description->layoutId) {
    lastError_ = "no layout resource";
    if (error) *error = lastError_;
    return E_INVALIDARG;
  }
  auto layout =
      ParseDialogLayout(std::span<const uint8_t>(description->layout, description->layoutSize),
                        InString(description->layoutId, -1), &lastError_);
  if (!layout) {
    if (error) *error = lastError_;
    return E_INVALIDARG;
  }
  auto made = MakeCom<Dialog>(this, std::move(*layout), description->owner, description->handler,
                              nextWindow_++);
  live_.insert(made.Get());
  return made.CopyTo(dialog);
}

void DialogEngine::Drive(DialogDriver& user) {
  Driver driver;
  if (!drivers_.empty()) {
    driver = std::move(drivers_.front());
    drivers_.pop_front();
  } else {
    driver = defaultDriver_;
  }
  if (!driver) return;
  GuardCall([&] {
    driver(user);
    return S_OK;
  });
}

HRESULT DialogEngine::RunModal(IHostDialog* dialog, int32_t* result) {
  if (!result) return E_POINTER;
  *result = kDialogResultCancel;
  auto* model = static_cast<Dialog*>(dialog);
  if (!model || !live_.count(model)) return E_INVALIDARG;
  if (model->CurrentPhase() != Dialog::Phase::kCreated) return E_FAIL;
  ComPtr<Dialog> keep(model);
  model->Show(true);
  DialogDriver user(*model, *this);
  if (!model->Result()) Drive(user);
  // A user who walks away leaves through the close box.
  if (!model->Result()) model->Dispatch(kDialogCancel, nullptr, 0);
  if (!model->Result()) model->EndDialog(kDialogResultCancel);
  *result = *model->Result();
  model->Destroy();
  return S_OK;
}

HRESULT DialogEngine::ShowModeless(IHostDialog* dialog) {
  auto* model = static_cast<Dialog*>(dialog);
  if (!model || !live_.count(model)) return E_INVALIDARG;
  if (model->CurrentPhase() != Dialog::Phase::kCreated) return E_FAIL;
  modeless_.push_back(model);
  model->Show(false);
  DialogDriver user(*model, *this);
  if (!model->Result()) Drive(user);
  Reap();
  return S_OK;
}

HRESULT DialogEngine::RunPropertySheet(const PropertySheetDescription* description,
                                       int32_t* result) {
  if (!result) return E_POINTER;
  *result = kDialogResultCancel;
  if (!description || (description->pageCount > 0 && !description->pages)) return E_POINTER;
  if (description->pageCount <= 0 || description->startPage < 0 ||
      description->startPage >= description->pageCount)
    return E_INVALIDARG;
  for (int32_t i = 0; i < description->pageCount; ++i)
    if (!description->pages[i].handler) return E_POINTER;
  if (!Interactive()) return S_FALSE;
  std::vector<ComPtr<Dialog>> pages;
  const WindowHandle window = nextWindow_++;
  for (int32_t i = 0; i < description->pageCount; ++i) {
    const PropertySheetPage& page = description->pages[i];
    const DialogDescription made{description->layout, description->layoutSize, page.layoutId,
                                 window, page.handler};
    ComPtr<IHostDialog> dialog;
    HRESULT hr = Create(&made, dialog.Put(), nullptr);
    if (Failed(hr)) return hr;
    pages.emplace_back(static_cast<Dialog*>(dialog.Get()));
  }
  PropertySheet sheet(this, std::u16string(InString(description->sheetId, -1)),
                      std::u16string(InString(description->title, -1)), description->owner, window,
                      std::move(pages));
  sheet.Open(description->startPage);
  DialogDriver user(sheet, *this);
  if (!sheet.Result()) Drive(user);
  // A user who walks away leaves through the close box.
  if (!sheet.Result()) sheet.Frame().Dispatch(kDialogCancel, nullptr, 0);
  if (!sheet.Result()) sheet.Frame().EndDialog(kDialogResultCancel);
  *result = *sheet.Result();
  sheet.Close();
  return S_OK;
}

void DialogEngine::Reap() {
  // Destroying may run a handler that ends another dialog: take them one at a time.
  for (;;) {
    auto ended = std::find_if(modeless_.begin(), modeless_.end(),
                              [](const ComPtr<Dialog>& d) { return d->Result().has_value(); });
    if (ended == modeless_.end()) return;
    ComPtr<Dialog> dialog = *ended;
    modeless_.erase(ended);
    dialog->Destroy();
  }
}

std::vector<ComPtr<Dialog>> DialogEngine::OpenModeless() const { return modeless_; }

void DialogEngine::CloseAll() {
  while (!modeless_.empty()) {
    ComPtr<Dialog> dialog = modeless_.front();
    modeless_.erase(modeless_.begin());
    dialog->EndDialog(kDialogResultCancel);
    dialog->Destroy();
  }
}

int32_t DialogEngine::Message(std::u16string_view text, std::u16string_view caption,
                              uint32_t style) {
  if (messageBox_) return messageBox_(text, caption, style);
  return (style & 0xF) == kMsgOk ? kAnswerOk : kAnswerCancel;
}

void DialogEngine::NoteMissingControl(std::u16string_view layoutId, std::u16string_view id) {
  std::u16string entry = std::u16string(layoutId) + u": " + std::u16string(id);
  if (std::find(missingControls_.begin(), missingControls_.end(), entry) == missingControls_.end())
    missingControls_.push_back(std::move(entry));
}

HRESULT DialogEngine::WriteSettings() {
  if (!settingsWriter_) return S_OK;
  std::string error;
  const HRESULT hr = settingsWriter_(&error);
  if (Succeeded(hr)) return hr;
  std::u16string text = ResolveText(u"$$$.settings.notWritten");
  const size_t insert = text.find(u"%1");
  const std::u16string reason = base::LossyUtf16(error.empty() ? "unknown error" : error);
  if (insert != std::u16string::npos) text.replace(insert, 2, reason);
  Message(text, ResolveText(u"$$$.settings.caption"), kMsgOwnerModal | kMsgIconWarning);
  return Failed(hr) ? hr : E_FAIL;
}

std::optional<std::u16string> DialogEngine::Input(Prompt prompt) {
  prompts_.push_back(prompt);
  if (inputs_.empty()) return inputBox_ ? inputBox_(prompt) : std::nullopt;
  auto answer = std::move(inputs_.front());
  inputs_.pop_front();
  return answer;
}

std::optional<int32_t> DialogEngine::Menu(const DialogMenuItem* items, int32_t count,
                                          DialogControl* anchor) {
  std::vector<std::u16string> shown;
  for (int32_t i = 0; i < count; ++i) shown.emplace_back(InString(items[i].text, -1));
  menusShown_.push_back(shown);
  if (menus_.empty()) return menuBox_ ? menuBox_(items, count, anchor) : std::nullopt;
  auto choice = std::move(menus_.front());
  menus_.pop_front();
  if (!choice) return std::nullopt;
  for (int32_t i = 0; i < count; ++i)
    if (items[i].text && items[i].submenu == 0 && shown[i] == *choice) return items[i].command;
  return std::nullopt;
}

std::optional<std::u16string> DialogEngine::File(std::u16string_view filter) {
  if (files_.empty()) return fileBox_ ? fileBox_(filter) : std::nullopt;
  auto path = std::move(files_.front());
  files_.pop_front();
  return path;
}

}  // namespace zelta::ui
