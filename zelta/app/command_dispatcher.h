// Drives the headless user interface on behalf of the user: command states, running
// commands, rebuilding the bars and showing context menus, with the events a module hears.
#pragma once

#include <string>

#include "zelta/base/event_server.h"
#include "zelta/ui/command_bars.h"
#include "zelta/ui/ui_extension.h"

namespace zelta::app {

class CommandDispatcher {
 public:
  // `context` is the object handlers get in UpdateCommandState (the application); the
  // dispatcher does not own any of them and must not outlive them.
  CommandDispatcher(ui::UiExtension& ui, ui::CommandBars& bars, base::EventServer& events,
                    IUnknown* context)
      : ui_(ui), bars_(bars), events_(events), context_(context) {}

  int32_t State(Atom command);
  // action is a CommandAction.
  HRESULT Execute(Atom command, std::string* error, int32_t action = kCommandRun);
  void CustomizeBars();
  ComPtr<ui::CommandBar> ShowContextMenu(Atom menu);
  // `titleOf` gives the heading of a bar or menu.
  std::string Print(const std::function<std::u16string(Atom)>& titleOf);

 private:
  ui::UiExtension& ui_;
  ui::CommandBars& bars_;
  base::EventServer& events_;
  IUnknown* context_;
};

}  // namespace zelta::app
