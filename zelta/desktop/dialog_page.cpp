#include "zelta/desktop/dialog_page.h"

#include <QEvent>
#include <QVBoxLayout>

#include "zelta/ui/dialog_engine.h"

namespace zelta::desktop {

namespace {

QFont FontOf(const ui::DialogLayout& layout) {
  return DialogUnits::LayoutFont(
      QString::fromUtf16(layout.font.data(), static_cast<qsizetype>(layout.font.size())),
      layout.fontSize);
}

}  // namespace

DialogPage::DialogPage(ui::Dialog& dialog, QWidget* parent)
    : QWidget(parent), dialog_(&dialog), units_(FontOf(dialog.Layout())) {
  const ui::DialogLayout& layout = dialog.Layout();
  setFont(FontOf(layout));
  const int32_t fixedTop = layout.height - layout.fixedArea;
  layoutSize_ = QSize(units_.X(layout.width), units_.Y(layout.height));

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  // A child from the start: a default button finds its dialog through its parents.
  body_ = new QWidget(this);
  body_->setObjectName("body");
  body_->setFixedSize(layoutSize_.width(), units_.Y(fixedTop));
  if (layout.scrollable) {
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(body_);
    column->addWidget(scroll_, 1);
  } else {
    column->addWidget(body_, 1, Qt::AlignLeft | Qt::AlignTop);
  }
  if (layout.fixedArea > 0) {
    strip_ = new QWidget(this);
    strip_->setObjectName("fixedArea");
    strip_->setFixedHeight(layoutSize_.height() - units_.Y(fixedTop));
    strip_->setMinimumWidth(layoutSize_.width());
    strip_->installEventFilter(this);
    column->addWidget(strip_);
  }

  auto act = [this](const std::function<void(ui::DialogDriver&)>& action) { Act(action); };
  QWidget* previous = nullptr;
  for (const auto& control : dialog.Controls()) {
    const bool fixed = strip_ && control->Layout().fixed;
    auto view =
        std::make_unique<ControlView>(dialog, control.Get(), fixed ? strip_ : body_, units_, act);
    QWidget* widget = view->Widget();
    if (fixed) {
      widget->move(widget->x(), widget->y() - units_.Y(fixedTop));
      if (2 * control->Layout().x > layout.width)
        rightAnchored_.emplace_back(widget, layoutSize_.width() - widget->x());
    }
    if (control->Id() == layout.defaultButton)
      if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setAutoDefault(true);
        button->setDefault(true);
        default_ = button;
      }
    if (view->TakesFocus()) {
      if (previous) setTabOrder(previous, widget);
      previous = widget;
    }
    views_.push_back(std::move(view));
  }
}

// The views go before the widgets they watch.
DialogPage::~DialogPage() { views_.clear(); }

void DialogPage::Pull() {
  for (const auto& view : views_) view->Pull();
}

void DialogPage::Act(const std::function<void(ui::DialogDriver&)>& action) {
  if (busy_ || dialog_->Result() || dialog_->CurrentPhase() != ui::Dialog::Phase::kShown) return;
  ui::DialogEngine* engine = dialog_->Engine();
  if (!engine) return;
  busy_ = true;
  {
    ui::DialogDriver user(*dialog_, *engine);
    action(user);
  }
  engine->Reap();
  busy_ = false;
  Pull();
  emit Acted();
}

QWidget* DialogPage::WidgetOf(std::u16string_view id) const {
  for (const auto& view : views_)
    if (view->Model()->Id() == id) return view->Widget();
  return nullptr;
}

QWidget* DialogPage::WidgetOf(const ui::DialogControl* control) const {
  for (const auto& view : views_)
    if (view->Model() == control) return view->Widget();
  return nullptr;
}

bool DialogPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == strip_ && event->type() == QEvent::Resize) AnchorFixedControls();
  return false;
}

void DialogPage::AnchorFixedControls() {
  for (const auto& [widget, fromRight] : rightAnchored_)
    widget->move(strip_->width() - fromRight, widget->y());
}

}  // namespace zelta::desktop
