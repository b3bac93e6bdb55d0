// The headless progress window: a bar on stderr when it is a terminal, silent otherwise.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "host/progress.h"
#include "zelta/ui/sigint_guard.h"

namespace zelta::ui {

struct ProgressOptions {
  // Where the bar is drawn; null draws nothing.
  std::FILE* terminal = nullptr;
  // Scripted cancel: the window reports a cancel once its position reaches this value.
  std::optional<uint32_t> cancelAt;
};

// Opens on its first use (any setter) and closes on Close or when released. While open,
// Ctrl-C asks it to cancel (SigintGuard).
class ProgressWindow : public ComObject<IHostProgress> {
 public:
  explicit ProgressWindow(ProgressOptions options) : options_(options) {}

  HRESULT SetTitle(const char16_t* title, int32_t length) override;
  HRESULT SetStyle(int32_t style, int32_t mask) override;
  HRESULT Reset() override;
  HRESULT SetRange(uint32_t range) override;
  HRESULT SetPosition(uint32_t position) override;
  HRESULT SetText(const char16_t* text, int32_t length) override;
  HRESULT SetStatusText(const char16_t* text, int32_t length) override;
  // Latches: once cancelled, always cancelled.
  HRESULT IsCancelled(bool* cancelled) override;
  HRESULT Close() override;

  bool IsOpen() const { return guard_ != nullptr; }
  bool IsClosed() const { return closed_; }
  uint32_t Position() const { return position_; }
  uint32_t Range() const { return range_; }
  int32_t Style() const { return style_; }
  const std::u16string& Title() const { return title_; }
  const std::u16string& Text() const { return text_; }
  const std::u16string& StatusText() const { return status_; }

 protected:
  ~ProgressWindow() override;

 private:
  // False once closed: later calls are ignored.
  bool Use();
  void Draw(bool force);

  ProgressOptions options_;
  std::unique_ptr<SigintGuard> guard_;
  bool closed_ = false;
  bool cancelled_ = false;
  bool drawn_ = false;
  int32_t style_ = 0;
  uint32_t range_ = 0, position_ = 0;
  std::u16string title_, text_, status_;
  int lastPercent_ = -1;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace zelta::ui
