// The host's progress window, made by IUiExtension::CreateProgress for one long run.
//
// Life of a window: the maker owns the one reference it gets and drops it when the run ends.
// The window opens on its first setter call (not before, so a run that fails at once shows
// nothing), then takes any number of setter calls in any order, from the thread that made
// it. Close ends it: the window goes away and every later call, IsCancelled aside, is ignored
// and answers S_FALSE. Dropping the last reference closes it too.
//
// Cancelling: while open, the user may ask to stop (a cancel button when the style has
// kProgressCancellable, Ctrl-C in a terminal). The run learns it by polling IsCancelled
// between items; the answer latches, and stays true after Close, so that a run finishing
// its item can still see it. The window never stops the run itself.
//
// Texts are UTF-16 with an explicit length in code units (-1: up to a null). The host copies
// them; the caller's buffers need not outlive the call.
#pragma once

#include "host/com.h"

namespace zelta {

// Style bit: the window offers a cancel button.
inline constexpr int32_t kProgressCancellable = 0x20;

struct IHostProgress : IUnknown {
  static constexpr Guid kIid{0x5A1E0701, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 14}};
  // The window's caption.
  virtual HRESULT SetTitle(const char16_t* title, int32_t length) = 0;
  // Sets the style bits in mask to those of style (kProgressCancellable).
  virtual HRESULT SetStyle(int32_t style, int32_t mask) = 0;
  // Position 0, range 0, texts cleared: the window as for a new run.
  virtual HRESULT Reset() = 0;
  // The count the position goes to; with 0 no share is shown. A position beyond the range
  // shows as full.
  virtual HRESULT SetRange(uint32_t range) = 0;
  virtual HRESULT SetPosition(uint32_t position) = 0;
  // The per-item text ("Page 12") and the status line ("12 of 300").
  virtual HRESULT SetText(const char16_t* text, int32_t length) = 0;
  virtual HRESULT SetStatusText(const char16_t* text, int32_t length) = 0;
  // *cancelled is true once the user asked to stop (see above). E_POINTER for null.
  virtual HRESULT IsCancelled(bool* cancelled) = 0;
  // Closes the window; S_FALSE when it was closed already.
  virtual HRESULT Close() = 0;
};

}  // namespace zelta
