// The host's editors (component "EDT"): dialogs of the engine's own controls, built from the
// host's editor layouts, so that a script drives them as it drives a module's dialog and a
// front-end renders them as it renders any dialog.
#pragma once

#include "host/editors.h"
#include "zelta/ui/font_params_editor.h"

namespace zelta::ui {

class UiExtension;

class HostEditors final : public ComObject<IHostEditors> {
 public:
  HostEditors(ComPtr<UiExtension> ui, FontParamsEditor::ColorCheck colorCheck);

  HRESULT EditFontParams(ICabItem* params, WindowHandle owner) override;
  HRESULT EditActions(IHostActionList* actions, IHostDocument* document,
                      WindowHandle owner) override;

 private:
  ~HostEditors() override = default;
  // Runs the layout modally with the handler: S_OK after OK, S_FALSE otherwise.
  HRESULT Run(const char16_t* layoutId, WindowHandle owner, IDialogHandler* handler);

  ComPtr<UiExtension> ui_;
  FontParamsEditor::ColorCheck colorCheck_;
};

}  // namespace zelta::ui
