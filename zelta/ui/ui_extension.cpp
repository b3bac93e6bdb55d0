#include "zelta/ui/ui_extension.h"

#include <unistd.h>

#include <new>

#include "host/call_guard.h"
#include "zelta/ui/command_manager.h"
#include "zelta/ui/message_recorder.h"

namespace zelta::ui {

UiExtension::UiExtension() : registry_(MakeCom<CommandRegistry>()), icons_(MakeCom<IconManager>()) {
  progressOptions_.terminal = ::isatty(STDERR_FILENO) ? stderr : nullptr;
  // Message boxes of dialogs go where every other message box goes.
  dialogs_.SetMessageBox(
      [this](std::u16string_view text, std::u16string_view caption, uint32_t style) {
        int32_t answer = 0;
        ShowMessage(text.data(), static_cast<int32_t>(text.size()), caption.data(),
                    static_cast<int32_t>(caption.size()), style, 0, &answer);
        return answer;
      });
}

HRESULT UiExtension::GetCommandManager(ICommandManager** manager) {
  if (!manager) return E_POINTER;
  return ComPtr<ICommandManager>(MakeCom<CommandManager>(registry_)).CopyTo(manager);
}

HRESULT UiExtension::GetIconManager(IIconManager** icons) {
  if (!icons) return E_POINTER;
  return ComPtr<IIconManager>(icons_).CopyTo(icons);
}

HRESULT UiExtension::ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                                 int32_t captionLength, uint32_t style, WindowHandle,
                                 int32_t* answer) {
  if (answer) *answer = 0;
  if (textLength < -1 || captionLength < -1) return E_INVALIDARG;
  MessageRecord record{std::u16string(InString(text, textLength)),
                       std::u16string(InString(caption, captionLength)), style};
  int32_t given = 0;
  HRESULT hr = GuardCall([&] {
    given = messageHandler_ ? messageHandler_(record) : MessageRecorder::DefaultAnswer(style);
    return S_OK;
  });
  if (Succeeded(hr) && answer) *answer = given;
  return hr;
}

HRESULT UiExtension::CreateProgress(IHostProgress** progress) {
  if (!progress) return E_POINTER;
  *progress = nullptr;
  ComPtr<IHostProgress> made =
      progressFactory_ ? progressFactory_()
                       : ComPtr<IHostProgress>(MakeCom<ProgressWindow>(progressOptions_));
  if (!made) return E_FAIL;
  return made.CopyTo(progress);
}

HRESULT UiExtension::IsInteractive(bool* interactive) {
  if (!interactive) return E_POINTER;
  *interactive = dialogs_.Interactive();
  return S_OK;
}

HRESULT UiExtension::CreateDialog(const DialogDescription* description, IHostDialog** dialog) {
  return GuardCall([&] { return dialogs_.Create(description, dialog, nullptr); });
}

HRESULT UiExtension::RunModal(IHostDialog* dialog, int32_t* result) {
  return GuardCall([&] { return dialogs_.RunModal(dialog, result); });
}

HRESULT UiExtension::ShowModeless(IHostDialog* dialog) {
  return GuardCall([&] { return dialogs_.ShowModeless(dialog); });
}

HRESULT UiExtension::RunPropertySheet(const PropertySheetDescription* description,
                                      int32_t* result) {
  return GuardCall([&] { return dialogs_.RunPropertySheet(description, result); });
}

}  // namespace zelta::ui
