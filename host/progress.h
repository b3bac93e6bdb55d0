// The host's progress window.
#pragma once

#include "host/com.h"

namespace zelta {

// Style bit: the window offers a cancel button.
inline constexpr int32_t kProgressCancellable = 0x20;

struct IHostProgress : IUnknown {
  static constexpr Guid kIid{0x5A1E0701, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 14}};
  virtual HRESULT SetTitle(const char16_t* title, int32_t length) = 0;
  virtual HRESULT SetStyle(int32_t style, int32_t mask) = 0;
  // Position 0, range 0, texts cleared.
  virtual HRESULT Reset() = 0;
  virtual HRESULT SetRange(uint32_t range) = 0;
  virtual HRESULT SetPosition(uint32_t position) = 0;
  // The per-item text and the status line.
  virtual HRESULT SetText(const char16_t* text, int32_t length) = 0;
  virtual HRESULT SetStatusText(const char16_t* text, int32_t length) = 0;
  // True once the user asked to cancel.
  virtual HRESULT IsCancelled(bool* cancelled) = 0;
  // Closes the window; later calls are ignored.
  virtual HRESULT Close() = 0;
};

}  // namespace zelta
