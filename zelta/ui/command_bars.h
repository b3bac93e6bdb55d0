// The host's command bars and context menus as headless models, with the host's own items.
#pragma once

#include <map>
#include <vector>

#include "zelta/ui/command_bar.h"

namespace zelta::ui {

class CommandBars {
 public:
  // Makes the bars "cmd.test" and "cmd.advanced" with the host's items.
  CommandBars();

  // Null for a bar the host does not have.
  ComPtr<CommandBar> Bar(Atom id) const;
  const std::map<Atom, ComPtr<CommandBar>>& Bars() const { return bars_; }
  // Bar ids in the order the host shows them.
  const std::vector<Atom>& BarOrder() const { return order_; }
  // Empties every bar and puts the host's items back (before raising the customisation
  // event again, as a host does when it rebuilds its bars).
  void Reset();

  // A fresh context menu with the host's own items; null for a menu the host does not have.
  // A context menu is built anew each time it is shown.
  ComPtr<CommandBar> BuildContextMenu(Atom id) const;
  bool IsContextMenu(Atom id) const;
  std::vector<Atom> ContextMenuIds() const;

  // Every host command placed in the bars and menus (to register them with titles).
  std::vector<Atom> HostCommands() const;

 private:
  std::map<Atom, ComPtr<CommandBar>> bars_;
  std::vector<Atom> order_;
};

}  // namespace zelta::ui
