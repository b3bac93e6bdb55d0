// Menus and tool bars made from the host's command bars, which the modules fill: each
// command becomes an action that runs it, enabled as its handler says when the menu opens.
#pragma once

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <functional>

#include "host/commands.h"
#include "zelta/app/host_app.h"

namespace zelta::desktop {

class CommandMenus {
 public:
  using Runner = std::function<void(Atom command)>;

  CommandMenus(app::HostApp& app, Runner run) : app_(app), run_(std::move(run)) {}

  // The submenu of `command` in any bar (the module's own menu), null when no bar has it.
  ComPtr<ICommandBar> FindSubmenu(Atom command) const;
  // Fills `menu` with the bar's items, submenus included. The states are asked again each
  // time the menu opens.
  void Fill(QMenu* menu, ICommandBar* bar);
  // Fills `toolBar` with the bar's commands (the items of its submenus, flattened).
  void Fill(QToolBar* toolBar, ICommandBar* bar);
  // Asks every action made so far for its state again (after the document changed).
  void UpdateStates();

 private:
  QAction* Action(Atom command, QObject* owner);

  app::HostApp& app_;
  Runner run_;
  std::vector<std::pair<QPointer<QAction>, Atom>> actions_;
};

}  // namespace zelta::desktop
