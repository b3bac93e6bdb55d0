#include "zelta/ui/command_bars.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "zelta/base/atom_table.h"

namespace zelta::ui {
namespace {

struct Layout {
  std::string_view id;
  std::vector<std::string_view> items;  // "" is a separator
};

// The host's own content. "cmd.test" ends with "cmd.hresultInfo", the item modules place
// their menus before; the text-selection menu ends with "cmd.props".
const std::vector<Layout>& BarLayouts() {
  static const std::vector<Layout> kBars = {
      {"cmd.test", {"cmd.tool.selectText", "cmd.tool.search", "", "cmd.hresultInfo"}},
      {"cmd.advanced", {"cmd.pages.insertEmpty", "cmd.namedDests.show"}},
  };
  return kBars;
}

const std::vector<Layout>& MenuLayouts() {
  static const std::vector<Layout> kMenus = {
      {"menu.tool.selectText", {"cmd.edit.copy", "cmd.edit.selectAll", "", "cmd.props"}},
  };
  return kMenus;
}

void Fill(CommandBar& bar, const Layout& layout) {
  for (auto item : layout.items) {
    if (item.empty())
      bar.InsertSeparator(-1);
    else
      bar.InsertCommand(-1, base::Intern(item), 0, 0, nullptr);
  }
}

const Layout* FindLayout(const std::vector<Layout>& layouts, Atom id) {
  for (auto& layout : layouts)
    if (base::Intern(layout.id) == id) return &layout;
  return nullptr;
}

}  // namespace

CommandBars::CommandBars() {
  for (auto& layout : BarLayouts()) {
    Atom id = base::Intern(layout.id);
    order_.push_back(id);
    bars_[id] = MakeCom<CommandBar>(id);
  }
  Reset();
}

ComPtr<CommandBar> CommandBars::Bar(Atom id) const {
  auto found = bars_.find(id);
  return found == bars_.end() ? nullptr : found->second;
}

void CommandBars::Reset() {
  for (auto& layout : BarLayouts()) {
    auto bar = Bar(base::Intern(layout.id));
    bar->Clear();
    Fill(*bar, layout);
  }
}

ComPtr<CommandBar> CommandBars::BuildContextMenu(Atom id) const {
  const Layout* layout = FindLayout(MenuLayouts(), id);
  if (!layout) return nullptr;
  auto menu = MakeCom<CommandBar>(id);
  Fill(*menu, *layout);
  return menu;
}

bool CommandBars::IsContextMenu(Atom id) const { return FindLayout(MenuLayouts(), id) != nullptr; }

std::vector<Atom> CommandBars::ContextMenuIds() const {
  std::vector<Atom> ids;
  for (auto& layout : MenuLayouts()) ids.push_back(base::Intern(layout.id));
  return ids;
}

std::vector<Atom> CommandBars::HostCommands() const {
  std::vector<Atom> commands;
  for (const auto* layouts : {&BarLayouts(), &MenuLayouts()})
    for (auto& layout : *layouts)
      for (auto item : layout.items) {
        Atom atom = item.empty() ? kNoAtom : base::Intern(item);
        if (atom && std::find(commands.begin(), commands.end(), atom) == commands.end())
          commands.push_back(atom);
      }
  return commands;
}

}  // namespace zelta::ui
