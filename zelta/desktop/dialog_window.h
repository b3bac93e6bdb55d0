// The window of one dialog of the model. A modal dialog runs an event loop until the model
// ends; a modeless one stays open beside the main window and closes itself when its model
// ends, whoever ended it. The model's timers run on a Qt timer, and Escape or the close box
// go to the module as Cancel, which may keep the dialog open.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include "zelta/desktop/dialog_page.h"

namespace zelta::desktop {

class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  // How often the window looks at the model's timers and at changes made outside the
  // user's actions.
  static constexpr int kTickMs = 10;

  DialogWindow(ui::Dialog& dialog, QWidget* parent);

  DialogPage* Page() const { return page_; }
  ui::Dialog& Model() const { return page_->Model(); }
  // Runs until the model ends; the model's result.
  int32_t RunModal();

 public slots:
  void reject() override;

 private:
  void Tick();
  // Closes the window once the model has ended.
  void CloseIfEnded();

  DialogPage* page_;
  QTimer ticker_;
  QElapsedTimer clock_;
  bool closed_ = false;
};

}  // namespace zelta::desktop
