#include "zelta/desktop/sheet_window.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "zelta/desktop/dialog_window.h"
#include "zelta/ui/dialog_engine.h"

namespace zelta::desktop {

namespace {

QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The frame's button as the model has it: its text, and whether a page disabled it.
void FollowButton(QPushButton* button, ui::Dialog& frame, std::u16string_view id) {
  const ui::DialogControl* control = frame.Find(id);
  if (!control) return;
  QString text = ToQString(control->Text());
  if (button->text() != text) button->setText(text);
  button->setEnabled(control->Enabled());
}

}  // namespace

SheetWindow::SheetWindow(ui::PropertySheet& sheet, ui::DialogEngine& engine, QWidget* parent)
    : QDialog(parent),
      sheet_(sheet),
      engine_(engine),
      tabs_(new QTabWidget(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
  setObjectName(ToQString(sheet.Frame().Layout().id));
  setWindowTitle(ToQString(sheet.Frame().Title()));
  QSize largest;
  for (const auto& model : sheet.Pages()) {
    auto* page = new DialogPage(*model, tabs_);
    pages_.push_back(page);
    tabs_->addTab(page, ToQString(model->Title()));
    largest = largest.expandedTo(page->LayoutSize());
    connect(page, &DialogPage::Acted, this, &SheetWindow::Follow);
  }
  ok_->setObjectName("btn.ok");
  cancel_->setObjectName("btn.cancel");
  ok_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
  auto* column = new QVBoxLayout(this);
  column->addWidget(tabs_);
  column->addWidget(buttons);
  tabs_->setCurrentIndex(sheet.ActivePage());
  Follow();
  resize(sizeHint().expandedTo(largest + QSize(24, 96)));

  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index != sheet_.ActivePage())
      Act([index](ui::DialogDriver& user) { user.SelectPage(index); });
  });
  connect(ok_, &QPushButton::clicked, this,
          [this] { Act([](ui::DialogDriver& user) { user.Click(u"btn.ok"); }); });
  connect(cancel_, &QPushButton::clicked, this,
          [this] { Act([](ui::DialogDriver& user) { user.Click(u"btn.cancel"); }); });
  connect(&ticker_, &QTimer::timeout, this, &SheetWindow::Tick);
  clock_.start();
  ticker_.start(DialogWindow::kTickMs);
}

int32_t SheetWindow::RunModal() {
  setModal(true);
  if (!closed_) exec();
  return sheet_.Result().value_or(kDialogResultCancel);
}

void SheetWindow::reject() {
  Act([](ui::DialogDriver& user) { user.Close(); });
}

void SheetWindow::Act(const std::function<void(ui::DialogDriver&)>& action) {
  if (busy_ || closed_ || sheet_.Result()) return;
  busy_ = true;
  {
    ui::DialogDriver user(sheet_, engine_);
    action(user);
  }
  busy_ = false;
  Follow();
}

void SheetWindow::Tick() {
  const auto elapsed = static_cast<uint32_t>(clock_.restart());
  if (busy_) return;
  for (DialogPage* page : pages_)
    if (page->Busy()) return;
  if (elapsed > 0 && !sheet_.Result())
    Act([elapsed](ui::DialogDriver& user) { user.Wait(elapsed); });
  else
    Follow();
}

void SheetWindow::Follow() {
  if (closed_) return;
  if (sheet_.Result()) {
    closed_ = true;
    ticker_.stop();
    QDialog::done(*sheet_.Result());
    return;
  }
  for (DialogPage* page : pages_) page->Pull();
  FollowButton(ok_, sheet_.Frame(), u"btn.ok");
  FollowButton(cancel_, sheet_.Frame(), u"btn.cancel");
  if (tabs_->currentIndex() != sheet_.ActivePage()) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(sheet_.ActivePage());
  }
}

}  // namespace zelta::desktop
