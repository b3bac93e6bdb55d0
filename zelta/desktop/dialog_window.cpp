#include "zelta/desktop/dialog_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace zelta::desktop {

namespace {

// The share of the screen a dialog may take before its layout scrolls.
constexpr double kMostOfTheScreen = 0.9;

}  // namespace

DialogWindow::DialogWindow(ui::Dialog& dialog, QWidget* parent)
    : QDialog(parent), page_(new DialogPage(dialog, this)) {
  setObjectName(QString::fromUtf16(dialog.Layout().id.data(),
                                   static_cast<qsizetype>(dialog.Layout().id.size())));
  setWindowTitle(
      QString::fromUtf16(dialog.Title().data(), static_cast<qsizetype>(dialog.Title().size())));
  setSizeGripEnabled(dialog.Layout().scrollable);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(page_);

  QSize size = page_->LayoutSize();
  if (dialog.Layout().scrollable) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) size = size.boundedTo(screen->availableGeometry().size() * kMostOfTheScreen);
    // The strip stays whole: only the part above it gives way.
    if (page_->FixedStrip()) setMinimumHeight(page_->FixedStrip()->height() * 2);
  } else {
    setMinimumSize(size);
  }
  resize(size);

  connect(page_, &DialogPage::Acted, this, &DialogWindow::CloseIfEnded);
  connect(&ticker_, &QTimer::timeout, this, &DialogWindow::Tick);
  clock_.start();
  ticker_.start(kTickMs);
}

int32_t DialogWindow::RunModal() {
  setModal(true);
  if (!closed_) exec();
  return Model().Result().value_or(kDialogResultCancel);
}

void DialogWindow::reject() {
  page_->Act([](ui::DialogDriver& user) { user.Close(); });
  CloseIfEnded();
}

void DialogWindow::Tick() {
  const auto elapsed = static_cast<uint32_t>(clock_.restart());
  if (page_->Busy()) return;
  CloseIfEnded();
  if (Model().Result()) return;
  // Changes made outside the user's actions (a run, another window) show up here too.
  if (elapsed > 0)
    page_->Act([elapsed](ui::DialogDriver& user) { user.Wait(elapsed); });
  else
    page_->Pull();
}

void DialogWindow::CloseIfEnded() {
  const bool gone = Model().CurrentPhase() == ui::Dialog::Phase::kDestroyed;
  if (closed_ || (!Model().Result() && !gone)) return;
  closed_ = true;
  ticker_.stop();
  QDialog::done(Model().Result().value_or(kDialogResultCancel));
}

}  // namespace zelta::desktop
