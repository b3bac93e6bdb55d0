// Where the module's dialogs are shown on the desktop. The toolkit-free dialog model (layouts
// in dialog units, controls, their state and events) is rendered here as Qt widgets: dialog
// units to pixels, the fixed area with scrolling, the default button and the tab order.
//
// Until the host offers that model, no dialog can be shown: CanShowDialogs is false and the
// window runs each command with the options it was last run with, as the command line runs
// an operation (HostApp::RunCommandWithStoredOptions). Once it can, the window runs commands
// through HostApp::ExecuteCommand and the module asks for its dialog here.
#pragma once

#include <QPointer>
#include <QWidget>

namespace zelta::desktop {

class DialogPresenter {
 public:
  explicit DialogPresenter(QWidget* owner) : owner_(owner) {}

  bool CanShowDialogs() const { return false; }
  QWidget* Owner() const { return owner_; }

 private:
  QPointer<QWidget> owner_;
};

}  // namespace zelta::desktop
