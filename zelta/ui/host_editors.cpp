#include "zelta/ui/host_editors.h"

#include "host/call_guard.h"
#include "zelta/ui/action_editor.h"
#include "zelta/ui/editor_layouts.h"
#include "zelta/ui/ui_extension.h"

namespace zelta::ui {

HostEditors::HostEditors(ComPtr<UiExtension> ui, FontParamsEditor::ColorCheck colorCheck)
    : ui_(std::move(ui)), colorCheck_(std::move(colorCheck)) {}

HRESULT HostEditors::Run(const char16_t* layoutId, WindowHandle owner, IDialogHandler* handler) {
  DialogEngine& engine = ui_->Dialogs();
  if (!engine.Interactive()) return E_FAIL;
  const std::string_view layouts = EditorLayouts();
  const DialogDescription description{reinterpret_cast<const uint8_t*>(layouts.data()),
                                      static_cast<uint32_t>(layouts.size()), layoutId, owner,
                                      handler};
  ComPtr<IHostDialog> dialog;
  HRESULT hr = engine.Create(&description, dialog.Put(), nullptr);
  if (Failed(hr)) return hr;
  int32_t result = kDialogResultCancel;
  hr = engine.RunModal(dialog.Get(), &result);
  if (Failed(hr)) return hr;
  return result == kDialogResultOk ? S_OK : S_FALSE;
}

HRESULT HostEditors::EditFontParams(ICabItem* params, WindowHandle owner) {
  if (!params) return E_POINTER;
  return GuardCall([&] {
    auto editor = MakeCom<FontParamsEditor>(ui_->Dialogs(), params, colorCheck_);
    return Run(u"HostFontParams", owner, editor.Get());
  });
}

HRESULT HostEditors::EditActions(IHostActionList* actions, IHostDocument* document,
                                 WindowHandle owner) {
  if (!actions || !document) return E_POINTER;
  return GuardCall([&] {
    auto editor = MakeCom<ActionEditor>(ui_->Dialogs(), actions, document);
    return Run(u"HostActions", owner, editor.Get());
  });
}

}  // namespace zelta::ui
