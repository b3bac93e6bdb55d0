#include "zelta/desktop/progress_dialog.h"

#include <QApplication>
#include <QString>

namespace zelta::desktop {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(30);

QString Text(const char16_t* text, int32_t length) {
  if (!text) return {};
  return length < 0 ? QString::fromUtf16(text) : QString::fromUtf16(text, length);
}

}  // namespace

ProgressDialog::~ProgressDialog() { Close(); }

bool ProgressDialog::Use() {
  if (closed_) return false;
  if (!dialog_) {
    dialog_ = new QProgressDialog(parent_);
    dialog_->setObjectName("progress");
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumWidth(420);
    dialog_->setRange(0, 0);
    dialog_->setValue(0);
    QObject::connect(dialog_, &QProgressDialog::canceled, dialog_,
                     [flag = cancelFlag_] { *flag = true; });
  }
  return true;
}

void ProgressDialog::Pump(bool force) {
  const auto now = std::chrono::steady_clock::now();
  if (!force && now - lastPump_ < kPumpInterval) return;
  lastPump_ = now;
  QApplication::processEvents(QEventLoop::AllEvents);
}

HRESULT ProgressDialog::SetTitle(const char16_t* title, int32_t length) {
  if (Use()) dialog_->setWindowTitle(Text(title, length));
  return S_OK;
}

HRESULT ProgressDialog::SetStyle(int32_t, int32_t) {
  Use();
  return S_OK;
}

HRESULT ProgressDialog::Reset() {
  if (Use()) {
    range_ = 0;
    dialog_->setRange(0, 0);
    dialog_->setValue(0);
  }
  return S_OK;
}

HRESULT ProgressDialog::SetRange(uint32_t range) {
  if (!Use()) return S_OK;
  range_ = range;
  // QProgressDialog counts in int; a range past it is scaled down with the positions.
  dialog_->setRange(0, static_cast<int>(std::min<uint32_t>(range, INT32_MAX)));
  Pump(false);
  return S_OK;
}

HRESULT ProgressDialog::SetPosition(uint32_t position) {
  if (!Use()) return S_OK;
  dialog_->setValue(static_cast<int>(std::min<uint32_t>({position, range_, INT32_MAX})));
  Pump(false);
  return S_OK;
}

HRESULT ProgressDialog::SetText(const char16_t* text, int32_t length) {
  if (Use()) dialog_->setLabelText(Text(text, length));
  Pump(false);
  return S_OK;
}

HRESULT ProgressDialog::SetStatusText(const char16_t* text, int32_t length) {
  // One line of text is all the window has; the status replaces the step when there is one.
  if (Use() && length != 0) dialog_->setLabelText(Text(text, length));
  return S_OK;
}

HRESULT ProgressDialog::IsCancelled(bool* cancelled) {
  if (!cancelled) return E_POINTER;
  if (dialog_ && !closed_) {
    Pump(false);
    if (dialog_ && dialog_->wasCanceled()) *cancelFlag_ = true;
  }
  *cancelled = *cancelFlag_;
  return S_OK;
}

HRESULT ProgressDialog::Close() {
  if (closed_) return S_OK;
  closed_ = true;
  if (dialog_) {
    dialog_->hide();
    dialog_->deleteLater();
  }
  return S_OK;
}

}  // namespace zelta::desktop
