#include "zelta/ui/dialog.h"

#include <algorithm>
#include <string>

#include "host/call_guard.h"
#include "zelta/ui/dialog_engine.h"
#include "zelta/ui/dialog_message.h"

namespace zelta::ui {

namespace {

constexpr std::u16string_view kPageRangePrefix = u"RangeCtl.";
// PagesRange "Type" values and the radios that show them.
struct RangeMode {
  int32_t type;
  std::u16string_view radio;
};
constexpr RangeMode kRangeModes[] = {{-1, u"RangeCtl.All"},
                                     {0, u"RangeCtl.Current"},
                                     {1, u"RangeCtl.Exact"},
                                     {2, u"RangeCtl.Array"}};

ComPtr<ICabItem> Field(ICabItem* item, const char16_t* name) {
  ComPtr<ICabItem> field;
  if (item) item->GetItem(name, field.Put());
  return field;
}

}  // namespace

Dialog::Dialog(DialogEngine* engine, DialogLayout layout, WindowHandle owner,
               IDialogHandler* handler, WindowHandle window)
    : engine_(engine),
      layout_(std::move(layout)),
      owner_(owner),
      window_(window),
      handler_(handler) {
  title_ = engine_->ResolveText(layout_.title);
  for (const LayoutControl& control : layout_.controls)
    controls_.push_back(MakeCom<DialogControl>(this, control, engine_->ResolveText(control.text)));
}

Dialog::~Dialog() {
  for (auto& control : controls_) control->Detach();
  if (engine_) engine_->Forget(this);
}

DialogControl* Dialog::Find(std::u16string_view id) const {
  for (const auto& control : controls_)
    if (control->Id() == id) return control.Get();
  return nullptr;
}

HRESULT Dialog::GetLayoutId(BString* id) { return ReturnString(layout_.id, id); }

HRESULT Dialog::GetWindow(WindowHandle* window) {
  if (!window) return E_POINTER;
  *window = phase_ == Phase::kShown ? window_ : 0;
  return S_OK;
}

HRESULT Dialog::GetControl(const char16_t* id, IDialogControl** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  if (!id) return E_INVALIDARG;
  DialogControl* found = Find(id);
  if (!found && frame_) found = frame_->Find(id);
  if (!found) {
    if (engine_) engine_->NoteMissingControl(layout_.id, id);
    return S_FALSE;
  }
  return ComPtr<IDialogControl>(found).CopyTo(control);
}

HRESULT Dialog::EndDialog(int32_t result) {
  if (result_ || phase_ == Phase::kDestroyed) return S_FALSE;
  result_ = result;
  timers_.clear();
  return S_OK;
}

HRESULT Dialog::IsModal(bool* modal) {
  if (!modal) return E_POINTER;
  *modal = modal_;
  return S_OK;
}

HRESULT Dialog::BringToFront() {
  if (phase_ != Phase::kShown || result_) return E_FAIL;
  Dispatch(kDialogActivated, nullptr, 0);
  return S_OK;
}

HRESULT Dialog::SetTimer(uint32_t id, uint32_t periodMs) {
  if (periodMs == 0) return E_INVALIDARG;
  if (result_ || phase_ == Phase::kDestroyed) return E_FAIL;
  timers_[id] = Timer{periodMs, clock_ + periodMs};
  return S_OK;
}

HRESULT Dialog::KillTimer(uint32_t id) { return timers_.erase(id) ? S_OK : S_FALSE; }

HRESULT Dialog::ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                            int32_t captionLength, uint32_t style, int32_t* answer) {
  if (answer) *answer = 0;
  if (textLength < -1 || captionLength < -1) return E_INVALIDARG;
  if (!engine_) return E_FAIL;
  const int32_t given =
      engine_->Message(InString(text, textLength), InString(caption, captionLength), style);
  if (answer) *answer = given;
  return S_OK;
}

HRESULT Dialog::InputBox(const char16_t* title, const char16_t* prompt, const char16_t* initial,
                         BString* answer) {
  if (!answer) return E_POINTER;
  *answer = nullptr;
  if (!engine_) return E_FAIL;
  auto given =
      engine_->Input({std::u16string(InString(title, -1)), std::u16string(InString(prompt, -1)),
                      std::u16string(InString(initial, -1))});
  if (!given) return S_FALSE;
  return ReturnString(*given, answer);
}

HRESULT Dialog::ShowMenu(const DialogMenuItem* items, int32_t count, IDialogControl* anchor,
                         int32_t* command) {
  if (!command) return E_POINTER;
  *command = 0;
  if (!items || count <= 0) return E_INVALIDARG;
  for (int32_t i = 0; i < count; ++i)
    if (items[i].submenu < 0 || items[i].submenu > count - 1 - i) return E_INVALIDARG;
  if (!engine_) return E_FAIL;
  // Only a control of this dialog places the menu.
  DialogControl* beside = nullptr;
  for (const auto& control : controls_)
    if (static_cast<IDialogControl*>(control.Get()) == anchor) beside = control.Get();
  auto chosen = engine_->Menu(items, count, beside);
  if (!chosen) return S_FALSE;
  *command = *chosen;
  return S_OK;
}

HRESULT Dialog::ChooseFile(const char16_t* filter, BString* path) {
  if (!path) return E_POINTER;
  *path = nullptr;
  if (!engine_) return E_FAIL;
  auto chosen = engine_->File(InString(filter, -1));
  if (!chosen) return S_FALSE;
  return ReturnString(*chosen, path);
}

bool Dialog::IsPageRangeControl(std::u16string_view id) {
  return id.substr(0, kPageRangePrefix.size()) == kPageRangePrefix;
}

HRESULT Dialog::LoadPageRange(ICabItem* pagesRange, IHostDocument* document) {
  if (!pagesRange) return E_POINTER;
  DialogControl* exact = Find(u"RangeCtl.ExactEdit");
  if (!exact) return E_FAIL;
  pageRange_ = pagesRange;
  pageCount_ = -1;
  if (document) document->GetPageCount(&pageCount_);
  int32_t type = -1, filter = 1;
  pagesRange->GetInt(u"Type", -1, &type);
  pagesRange->GetInt(u"Filter", 1, &filter);
  OwnedString text;
  pagesRange->GetText(u"Text", u"", text.Put());
  for (const RangeMode& mode : kRangeModes)
    if (DialogControl* radio = Find(mode.radio)) radio->SetStateRaw(mode.type == type);
  // The explicit index list is shown only when the range holds one.
  if (DialogControl* array = Find(u"RangeCtl.Array")) array->Show(type == 2);
  exact->SetText(text.Data(), text.Length());
  if (DialogControl* filterBox = Find(u"RangeCtl.FilterEdit")) {
    if (filterBox->Entries().empty())
      for (const char16_t* id : {u"$$$.PageRange.Filter.All", u"$$$.PageRange.Filter.Odd",
                                 u"$$$.PageRange.Filter.Even"}) {
        const std::u16string entry = engine_->ResolveText(id);
        filterBox->InsertItem(-1, entry.c_str(), static_cast<int32_t>(entry.size()), nullptr);
      }
    filterBox->SetState(filter >= 1 && filter <= 3 ? filter - 1 : 0);
  }
  // The page count beside the group ("of 12").
  if (DialogControl* total = Find(u"RangeCtl.Total"); total && pageCount_ >= 0) {
    const std::string digits = std::to_string(pageCount_);
    const std::u16string of = u"/ " + std::u16string(digits.begin(), digits.end());
    total->SetText(of.c_str(), static_cast<int32_t>(of.size()));
  }
  return S_OK;
}

void Dialog::WritePageRange(ICabItem* range) {
  int32_t type = -1;
  for (const RangeMode& mode : kRangeModes)
    if (DialogControl* radio = Find(mode.radio); radio && radio->State()) type = mode.type;
  range->SetInt(u"Type", type);
  if (DialogControl* exact = Find(u"RangeCtl.ExactEdit"))
    range->SetText(u"Text", exact->Text().c_str(), static_cast<int32_t>(exact->Text().size()));
  if (DialogControl* filterBox = Find(u"RangeCtl.FilterEdit"); filterBox && filterBox->State() >= 0)
    range->SetInt(u"Filter", filterBox->State() + 1);
}

HRESULT Dialog::GetPageRangeError(BString* reason) {
  if (!reason) return E_POINTER;
  *reason = nullptr;
  if (!pageRange_) return E_FAIL;
  IPageRangeService* service = engine_ ? engine_->PageRanges() : nullptr;
  if (!service) return ReturnString(u"", reason);
  // The check runs on the bound dictionary itself and puts its values back afterwards, so
  // that the items the group does not show (Array, Reversed) take part as they are.
  int32_t type = -1, filter = 1;
  OwnedString text;
  pageRange_->GetInt(u"Type", -1, &type);
  pageRange_->GetInt(u"Filter", 1, &filter);
  pageRange_->GetText(u"Text", u"", text.Put());
  WritePageRange(pageRange_.Get());
  ComPtr<IHostPageRange> range;
  HRESULT hr = service->CreatePageRange(range.Put());
  if (Succeeded(hr)) {
    range->SetPageCount(pageCount_ < 0 ? 0x7FFFFFFF : pageCount_);
    hr = range->Load(pageRange_.Get(), 0x72);
  }
  OwnedString message;
  if (Failed(hr) && range) range->GetError(message.Put());
  pageRange_->SetInt(u"Type", type);
  pageRange_->SetInt(u"Filter", filter);
  pageRange_->SetText(u"Text", text.Data(), text.Length());
  if (Succeeded(hr)) return ReturnString(u"", reason);
  const HRESULT out =
      ReturnString(message.Empty() ? u"The page range is not valid." : message.View(), reason);
  return Failed(out) ? out : S_FALSE;
}

HRESULT Dialog::StorePageRange(ICabItem* pagesRange) {
  if (!pagesRange) return E_POINTER;
  if (!pageRange_) return E_FAIL;
  OwnedString reason;
  HRESULT hr = GetPageRangeError(reason.Put());
  if (Failed(hr)) return hr;
  if (hr == S_FALSE) return E_INVALIDARG;
  WritePageRange(pagesRange);
  return S_OK;
}

void Dialog::PageRangeEdited(DialogControl* control) {
  if (control->Id() != u"RangeCtl.ExactEdit") return;
  if (DialogControl* exact = Find(u"RangeCtl.Exact")) {
    exact->SetStateRaw(1);
    ClearRadioGroup(exact);
  }
}

HRESULT Dialog::AttachPresets(ICabItem* presets, const char16_t*, ICabItem* options,
                              const char16_t* currentId) {
  if (!presets || !options) return E_POINTER;
  if (!Find(u"btn.presets")) return E_FAIL;
  presets_ = presets;
  presetOptions_ = options;
  currentPreset_ = InString(currentId, -1);
  return S_OK;
}

HRESULT Dialog::GetCurrentPreset(BString* id) { return ReturnString(currentPreset_, id); }

HRESULT Dialog::TakePreset(int32_t index) {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  ComPtr<ICabItem> preset;
  if (!items || items->GetItemAt(index, preset.Put()) != S_OK) return E_INVALIDARG;
  ComPtr<ICabItem> data = Field(preset.Get(), u"Data");
  if (!data) return E_FAIL;
  HRESULT hr = presetOptions_->CopyFrom(data.Get());
  if (Failed(hr)) return hr;
  OwnedString id;
  preset->GetText(u"ID", u"", id.Put());
  currentPreset_ = id.Str();
  Dispatch(kDialogHostChanged, nullptr, 0);
  return S_OK;
}

HRESULT Dialog::KeepPresetChange(const std::function<void()>& undo) {
  const HRESULT hr = engine_ ? engine_->WriteSettings() : S_OK;
  if (Failed(hr)) undo();
  return hr;
}

HRESULT Dialog::SavePreset(std::u16string_view name) {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  if (!items) return E_FAIL;
  // The preset holds what the controls show, edits typed but not yet stored included.
  if (Dispatch(kDialogSavingPreset, nullptr, 0) == 0) return E_CANCELLED;
  int32_t count = 0;
  items->GetCount(&count);
  // A fresh id that no preset, kept or removed, has had.
  std::u16string id;
  for (int32_t n = count + 1;; ++n) {
    const std::string digits = std::to_string(n);
    id = u"preset." + std::u16string(digits.begin(), digits.end());
    bool taken = false;
    for (int32_t i = 0; i < count && !taken; ++i) {
      ComPtr<ICabItem> preset;
      OwnedString existing;
      if (items->GetItemAt(i, preset.Put()) == S_OK) preset->GetText(u"ID", u"", existing.Put());
      taken = existing.View() == id;
    }
    if (!taken) break;
  }
  ComPtr<ICabItem> preset;
  HRESULT hr = items->Insert(-1, preset.Put());
  if (Failed(hr) || !preset) return Failed(hr) ? hr : E_FAIL;
  const std::u16string text(name);
  preset->SetText(u"ID", id.c_str(), static_cast<int32_t>(id.size()));
  preset->SetText(u"Name", text.c_str(), static_cast<int32_t>(text.size()));
  ComPtr<ICabItem> data = Field(preset.Get(), u"Data");
  if (data) hr = data->CopyFrom(presetOptions_.Get());
  if (Succeeded(hr)) hr = KeepPresetChange([] {});
  if (Failed(hr)) {
    items->RemoveAt(count);
    return hr;
  }
  currentPreset_ = id;
  return S_OK;
}

HRESULT Dialog::RenamePreset(int32_t index, std::u16string_view name) {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  ComPtr<ICabItem> preset;
  if (!items || items->GetItemAt(index, preset.Put()) != S_OK || name.empty()) return E_INVALIDARG;
  OwnedString old;
  preset->GetText(u"Name", u"", old.Put());
  const std::u16string text(name);
  HRESULT hr = preset->SetText(u"Name", text.c_str(), static_cast<int32_t>(text.size()));
  if (Failed(hr)) return hr;
  return KeepPresetChange([&] { preset->SetText(u"Name", old.Data(), old.Length()); });
}

namespace {

// Puts elements taken out of an array back at their places (ascending indexes).
void PutBack(ICabItem* array, const std::vector<std::pair<int32_t, ComPtr<ICabItem>>>& taken) {
  for (const auto& [index, element] : taken) {
    ComPtr<ICabItem> slot;
    if (Succeeded(array->Insert(index, slot.Put())) && slot) slot->CopyFrom(element.Get());
  }
}

// Takes every element out of an array; what PutBack needs to restore it.
std::vector<std::pair<int32_t, ComPtr<ICabItem>>> TakeAll(ICabItem* array) {
  std::vector<std::pair<int32_t, ComPtr<ICabItem>>> taken;
  int32_t count = 0;
  array->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    if (array->GetItemAt(i, element.Put()) == S_OK) taken.emplace_back(i, element);
  }
  while (count > 0) array->RemoveAt(--count);
  return taken;
}

}  // namespace

HRESULT Dialog::DeletePreset(int32_t index) {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  ComPtr<ICabItem> removed = Field(presets_.Get(), u"_Removed");
  ComPtr<ICabItem> preset;
  if (!items || !removed || items->GetItemAt(index, preset.Put()) != S_OK) return E_INVALIDARG;
  OwnedString id;
  preset->GetText(u"ID", u"", id.Put());
  // The id is recorded before the preset goes, so a failure leaves the list whole.
  int32_t removedCount = 0;
  removed->GetCount(&removedCount);
  ComPtr<ICabItem> entry;
  HRESULT hr = removed->Insert(-1, entry.Put());
  if (Failed(hr) || !entry) return Failed(hr) ? hr : E_FAIL;
  entry->SetText(nullptr, id.Data(), id.Length());
  hr = items->RemoveAt(index);
  if (Succeeded(hr)) hr = KeepPresetChange([&] { PutBack(items.Get(), {{index, preset}}); });
  if (Failed(hr)) {
    removed->RemoveAt(removedCount);
    return hr;
  }
  if (currentPreset_ == id.View()) currentPreset_.clear();
  return S_OK;
}

HRESULT Dialog::ResetPresets() {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  ComPtr<ICabItem> removed = Field(presets_.Get(), u"_Removed");
  if (!items || !removed) return E_FAIL;
  const auto takenItems = TakeAll(items.Get());
  const auto takenRemoved = TakeAll(removed.Get());
  const HRESULT hr = KeepPresetChange([&] {
    PutBack(items.Get(), takenItems);
    PutBack(removed.Get(), takenRemoved);
  });
  if (Succeeded(hr)) currentPreset_.clear();
  return hr;
}

std::u16string Dialog::CurrentPresetName() const {
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  int32_t count = 0;
  if (items && !currentPreset_.empty()) items->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> preset;
    OwnedString id, name;
    if (items->GetItemAt(i, preset.Put()) != S_OK) continue;
    preset->GetText(u"ID", u"", id.Put());
    if (id.View() != currentPreset_) continue;
    preset->GetText(u"Name", u"", name.Put());
    return name.Str();
  }
  return {};
}

std::vector<std::u16string> Dialog::PresetNames() const {
  std::vector<std::u16string> names;
  ComPtr<ICabItem> items = Field(presets_.Get(), u"Items");
  int32_t count = 0;
  if (items) items->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> preset;
    OwnedString name;
    if (items->GetItemAt(i, preset.Put()) == S_OK) preset->GetText(u"Name", u"", name.Put());
    names.push_back(name.Str());
  }
  return names;
}

void Dialog::ClearRadioGroup(DialogControl* radio) {
  // A group runs from a radio marked newGroup to the next radio so marked; other controls
  // between its radios (an edit beside one of them) do not end it.
  int32_t group = -1, current = -1;
  for (const auto& control : controls_) {
    if (control->Kind() != kControlRadio) continue;
    if (control->Layout().newGroup || current < 0) ++current;
    if (control.Get() == radio) group = current;
  }
  current = -1;
  for (const auto& control : controls_) {
    if (control->Kind() != kControlRadio) continue;
    if (control->Layout().newGroup || current < 0) ++current;
    if (current == group && control.Get() != radio) control->SetStateRaw(0);
  }
}

void Dialog::Show(bool modal) {
  modal_ = modal;
  phase_ = Phase::kShown;
  Dispatch(kDialogInit, nullptr, 0);
}

void Dialog::Destroy() {
  if (phase_ == Phase::kDestroyed) return;
  if (!result_) result_ = kDialogResultCancel;
  Dispatch(kDialogDestroy, nullptr, 0);
  phase_ = Phase::kDestroyed;
  for (auto& control : controls_) control->Detach();
  timers_.clear();
  handler_.Reset();
  pageRange_.Reset();
  presets_.Reset();
  presetOptions_.Reset();
}

int32_t Dialog::Dispatch(int32_t code, DialogControl* sender, intptr_t value) {
  if (!handler_ || phase_ == Phase::kDestroyed) return -1;
  ComPtr<Dialog> self(this);  // the handler may drop the last outside reference
  ComPtr<IDialogHandler> handler = handler_;
  auto message = MakeCom<DialogMessage>(code, sender, value);
  int32_t result = -1;
  const HRESULT hr = GuardCall([&] { return handler->OnMessage(this, message.Get(), &result); });
  if (Failed(hr)) result = -1;
  if (message->Handled()) return result;
  switch (code) {
    case kDialogOk:
      EndDialog(kDialogResultOk);
      break;
    case kDialogCancel:
      EndDialog(kDialogResultCancel);
      break;
    default:
      break;
  }
  return result;
}

void Dialog::AdvanceTime(uint32_t ms) {
  const uint64_t end = clock_ + ms;
  while (!result_ && phase_ == Phase::kShown) {
    // The earliest timer due by the end of the step fires first.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
        next = it;
    if (next == timers_.end()) break;
    clock_ = next->second.due;
    next->second.due += next->second.period;
    Dispatch(kDialogTimer, nullptr, next->first);
  }
  clock_ = std::max(clock_, end);
}

}  // namespace zelta::ui
