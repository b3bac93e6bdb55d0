// One control of the dialog model as a Qt widget at its place. Pull copies the model into the
// widget; what the user does goes back through the page's driver (a DialogDriver), which
// sends the module the messages a person's action sends. Widget signals that programs
// raise are blocked while pulling, so only the user's own changes reach the model.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <tuple>
#include <vector>

#include "zelta/desktop/dialog_units.h"
#include "zelta/ui/dialog.h"
#include "zelta/ui/dialog_driver.h"

class QTreeWidgetItem;

namespace zelta::desktop {

class ControlView : public QObject {
 public:
  // Runs one action of the user through the dialog's driver.
  using Act = std::function<void(const std::function<void(ui::DialogDriver&)>&)>;

  // The widget is made as a child of `parent`, at the control's place in `units`; the
  // view must go before the widget.
  ControlView(ui::Dialog& dialog, ui::DialogControl* control, QWidget* parent,
              const DialogUnits& units, Act act);

  ui::DialogControl* Model() const { return control_.Get(); }
  QWidget* Widget() const { return widget_; }
  // Whether the control takes the focus from the Tab key.
  bool TakesFocus() const;
  void Pull();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* Make(QWidget* parent);
  QWidget* MakeButton(QWidget* parent);
  QWidget* MakeEntry(QWidget* parent);
  QWidget* MakeDisplay(QWidget* parent);
  void PullText();
  void PullEntries();
  void PullTree();
  void UserSelectedEntries();
  void ShowInfo();
  // The tree item of a model handle.
  QTreeWidgetItem* TreeItem(int32_t handle) const;

  ui::Dialog& dialog_;
  ComPtr<ui::DialogControl> control_;
  Act act_;
  QPointer<QWidget> widget_;
  // The tree as last pulled: each item's handle, parent and text in pre-order.
  std::vector<std::tuple<int32_t, int32_t, std::u16string>> treeShown_;
};

}  // namespace zelta::desktop
