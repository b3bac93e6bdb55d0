// One dialog of the model drawn as Qt widgets: every control at its place in dialog units of
// the layout's font, the fixed area as a strip at the bottom that stays put while the rest
// scrolls (when the layout is scrollable), the default button and the tab order of the
// model. A window shows one page; a property sheet can show several in tabs.
#pragma once

#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "zelta/desktop/control_view.h"
#include "zelta/desktop/dialog_units.h"
#include "zelta/ui/dialog.h"
#include "zelta/ui/dialog_driver.h"

namespace zelta::desktop {

class DialogPage : public QWidget {
  Q_OBJECT

 public:
  explicit DialogPage(ui::Dialog& dialog, QWidget* parent = nullptr);
  ~DialogPage() override;

  ui::Dialog& Model() const { return *dialog_; }
  // Copies the model into the widgets (only what differs).
  void Pull();
  // Runs one action of the user through the dialog's driver, then closes modeless dialogs
  // that ended and pulls the model. Nothing runs once the dialog has ended, nor while an
  // action of this page is still running (a run inside a handler lets events through).
  void Act(const std::function<void(ui::DialogDriver&)>& action);
  bool Busy() const { return busy_; }

  // The widget of a control; null when the layout has none of that id.
  QWidget* WidgetOf(std::u16string_view id) const;
  QWidget* WidgetOf(const ui::DialogControl* control) const;
  QPushButton* DefaultButton() const { return default_; }
  // The pixel size that shows the whole layout.
  QSize LayoutSize() const { return layoutSize_; }
  // Null when the layout does not scroll.
  QScrollArea* ScrollArea() const { return scroll_; }
  // Null when the layout has no fixed area.
  QWidget* FixedStrip() const { return strip_; }

 signals:
  // After each action of the user (the dialog may have ended).
  void Acted();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AnchorFixedControls();

  ComPtr<ui::Dialog> dialog_;
  DialogUnits units_;
  std::vector<std::unique_ptr<ControlView>> views_;
  QWidget* body_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QWidget* strip_ = nullptr;
  QPushButton* default_ = nullptr;
  QSize layoutSize_;
  // Fixed controls in the right half of the strip keep their distance to its right edge.
  std::vector<std::pair<QWidget*, int>> rightAnchored_;
  bool busy_ = false;
};

}  // namespace zelta::desktop
