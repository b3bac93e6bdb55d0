// The progress window of a run on the desktop: a modal window with a bar, the current step
// and a Cancel button. Runs are synchronous on the main thread, so every update lets the
// window process its events: that is what makes Cancel (and repainting) work during a run.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <chrono>
#include <memory>

#include "host/progress.h"

namespace zelta::desktop {

class ProgressDialog : public ComObject<IHostProgress> {
 public:
  // Shown over `parent` once a run has taken longer than this (quick runs do not flash it).
  static constexpr int kShowAfterMs = 400;

  explicit ProgressDialog(QWidget* parent) : parent_(parent) {}

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

 protected:
  ~ProgressDialog() override;

 private:
  // Opens the window on first use; false once closed.
  bool Use();
  // Lets the window handle input at most every few milliseconds: enough for Cancel to
  // answer at once, cheap for runs that report every item.
  void Pump(bool force);

  QPointer<QWidget> parent_;
  QPointer<QProgressDialog> dialog_;
  bool closed_ = false;
  // Shared with the window's Cancel button, which may answer after this object is gone.
  std::shared_ptr<bool> cancelFlag_ = std::make_shared<bool>(false);
  uint32_t range_ = 0;
  std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace zelta::desktop
