// Where the module's dialogs are shown on the desktop. The presenter is the user of every
// dialog the host's engine shows: each one becomes a DialogWindow, modal or modeless as the
// module runs it, and the engine's input boxes, pop-up menus and file choosers become Qt's.
// Message boxes go where every other message box of the host goes (the window's prompts).
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "zelta/ui/dialog_engine.h"

namespace zelta::desktop {

class DialogWindow;

class DialogPresenter {
 public:
  // Installs itself in the engine until it goes; the open modeless dialogs go with it.
  DialogPresenter(QWidget* owner, ui::DialogEngine& engine);
  ~DialogPresenter();
  DialogPresenter(const DialogPresenter&) = delete;
  DialogPresenter& operator=(const DialogPresenter&) = delete;

  bool CanShowDialogs() const { return true; }
  QWidget* Owner() const { return owner_; }
  // How many dialogs have been shown: a command that showed none has no dialog.
  int Shown() const { return shown_; }
  // The windows of the dialogs now open, oldest first.
  std::vector<DialogWindow*> Windows() const;

 private:
  void Present(ui::DialogDriver& user);
  // Where a window of the host goes: over the modal window in front, else over the owner.
  QWidget* Parent() const;
  std::optional<int32_t> Menu(const DialogMenuItem* items, int32_t count,
                              ui::DialogControl* anchor);

  QPointer<QWidget> owner_;
  ui::DialogEngine& engine_;
  std::vector<QPointer<DialogWindow>> windows_;
  int shown_ = 0;
};

}  // namespace zelta::desktop
