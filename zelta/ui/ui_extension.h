// The UIX component: commands, icons, message boxes, progress windows and the dialog engine of
// the headless host.
#pragma once

#include <functional>

#include "host/dialogs.h"
#include "host/ui.h"
#include "zelta/ui/command_registry.h"
#include "zelta/ui/dialog_engine.h"
#include "zelta/ui/icon_manager.h"
#include "zelta/ui/message_record.h"
#include "zelta/ui/progress_window.h"

namespace zelta::ui {

// Makes the progress windows in place of the default ones (tests, scripted runs).
using ProgressFactory = std::function<ComPtr<IHostProgress>()>;

class UiExtension : public ComObject<IUiExtension, IDialogService> {
 public:
  UiExtension();

  HRESULT GetCommandManager(ICommandManager** manager) override;
  HRESULT GetIconManager(IIconManager** icons) override;
  // Goes to the installed handler. Without one nobody can answer: an OK box is taken as
  // read (kAnswerOk) and a question as declined (kAnswerCancel).
  HRESULT ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                      int32_t captionLength, uint32_t style, WindowHandle owner,
                      int32_t* answer) override;
  HRESULT CreateProgress(IHostProgress** progress) override;
  // IDialogService
  HRESULT IsInteractive(bool* interactive) override;
  HRESULT CreateDialog(const DialogDescription* description, IHostDialog** dialog) override;
  HRESULT RunModal(IHostDialog* dialog, int32_t* result) override;
  HRESULT ShowModeless(IHostDialog* dialog) override;
  HRESULT RunPropertySheet(const PropertySheetDescription* description, int32_t* result) override;

  DialogEngine& Dialogs() { return dialogs_; }

  const ComPtr<CommandRegistry>& Registry() const { return registry_; }
  void SetMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }
  void SetProgressFactory(ProgressFactory factory) { progressFactory_ = std::move(factory); }
  // Options of the default progress windows made from now on. By default the bar is drawn
  // on stderr when stderr is a terminal.
  void SetProgressOptions(ProgressOptions options) { progressOptions_ = options; }
  const ProgressOptions& GetProgressOptions() const { return progressOptions_; }

 private:
  ComPtr<CommandRegistry> registry_;
  ComPtr<IconManager> icons_;
  MessageHandler messageHandler_;
  ProgressFactory progressFactory_;
  ProgressOptions progressOptions_;
  DialogEngine dialogs_;
};

}  // namespace zelta::ui
