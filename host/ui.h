// User-interface services: the UIX component (commands, icons, message boxes, progress
// windows) and the ZLW component (windows).
#pragma once

#include "host/com.h"
#include "host/commands.h"
#include "host/progress.h"

namespace zelta {

struct IHostDocument;

// Message box style bits.
enum MessageStyle : uint32_t {
  kMsgOk = 0x0,
  kMsgYesNoCancel = 0x3,
  kMsgIconError = 0x400,
  kMsgIconWarning = 0x300,
  kMsgOwnerModal = 0x80000000u,
};
// Message box answers.
enum MessageAnswer : int32_t { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

struct IUiExtension : IUnknown {
  static constexpr Guid kIid{0x5A1E0C01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 30}};
  virtual HRESULT GetCommandManager(ICommandManager** manager) = 0;
  virtual HRESULT GetIconManager(IIconManager** icons) = 0;
  // Shows a message; *answer (may be null) receives a MessageAnswer.
  virtual HRESULT ShowMessage(const char16_t* text, int32_t textLength, const char16_t* caption,
                              int32_t captionLength, uint32_t style, WindowHandle owner,
                              int32_t* answer) = 0;
  // A new, closed-until-used progress window.
  virtual HRESULT CreateProgress(IHostProgress** progress) = 0;
};

struct IWindowService : IUnknown {
  static constexpr Guid kIid{0x5A1E0C02, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 31}};
  virtual HRESULT GetActiveWindow(WindowHandle* window) = 0;
  // The window that shows a document (0 when it has none).
  virtual HRESULT GetDocumentWindow(IHostDocument* document, WindowHandle* window) = 0;
  // The clockwise rotation (degrees: 0, 90, 180 or 270) the document is viewed with, on top
  // of each page's own /Rotate. 0 unless the host's user turned the view; 0 for a null
  // document or one that is not open.
  virtual HRESULT GetViewRotation(IHostDocument* document, int32_t* degrees) = 0;
};

}  // namespace zelta
