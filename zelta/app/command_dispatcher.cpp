#include "zelta/app/command_dispatcher.h"

#include "host/call_guard.h"
#include "zelta/base/atom_table.h"
#include "zelta/ui/command_bar_customization.h"
#include "zelta/ui/command_bar_printer.h"
#include "zelta/ui/context_menu_event.h"

namespace zelta::app {

int32_t CommandDispatcher::State(Atom command) {
  auto found = ui_.Registry()->Find(command);
  if (!found) return kCommandDisabled;
  int32_t state = kCommandEnabled;
  if (auto handler = found->Handler()) {
    int32_t asked = kCommandEnabled;
    if (Succeeded(GuardCall(
            [&] { return handler->UpdateCommandState(found.Get(), context_, 0, &asked); })))
      state = asked;
  }
  return state == kCommandDisabled ? kCommandDisabled : kCommandEnabled;
}

HRESULT CommandDispatcher::Execute(Atom command, std::string* error, int32_t action) {
  auto fail = [&](HRESULT hr, const std::string& why) {
    if (error) *error = "command '" + base::AtomTable::Global().Utf8(command) + "' " + why;
    return hr;
  };
  auto found = ui_.Registry()->Find(command);
  if (!found) return fail(E_INVALIDARG, "is unknown");
  if (State(command) == kCommandDisabled) return fail(E_FAIL, "is disabled");
  auto handler = found->Handler();
  if (!handler) return fail(E_NOTIMPL, "has no action in this host");
  HRESULT hr = GuardCall([&] { return handler->ExecuteCommand(action, found.Get(), 0, 0, 0); });
  if (hr == E_CANCELLED) return hr;
  if (Failed(hr)) return fail(hr, "failed");
  return hr;
}

void CommandDispatcher::CustomizeBars() {
  bars_.Reset();
  auto customization = MakeCom<ui::CommandBarCustomization>(bars_.Bars());
  events_.Raise(base::Intern("e.mainView.customizeCmdBars"), customization.Get(),
                base::kMainWindow);
}

ComPtr<ui::CommandBar> CommandDispatcher::ShowContextMenu(Atom menu) {
  auto built = bars_.BuildContextMenu(menu);
  if (!built) return nullptr;
  auto event = MakeCom<ui::ContextMenuEvent>(built);
  events_.Raise(base::Intern("e.beforeShowContextMenu"), event.Get(), base::kMainWindow);
  return built;
}

std::string CommandDispatcher::Print(const std::function<std::u16string(Atom)>& titleOf) {
  ui::CommandBarPrinter printer([this](Atom command) {
    ui::CommandView view;
    if (auto found = ui_.Registry()->Find(command)) view.title = found->Title();
    view.enabled = State(command) == kCommandEnabled;
    return view;
  });
  std::string out;
  for (Atom id : bars_.BarOrder()) out += printer.Print(*bars_.Bar(id), titleOf(id));
  for (Atom id : bars_.ContextMenuIds())
    if (auto menu = ShowContextMenu(id)) out += printer.Print(*menu, titleOf(id));
  return out;
}

}  // namespace zelta::app
