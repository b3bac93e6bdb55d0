#include "zelta/desktop/command_menus.h"

#include <QIcon>

#include "zelta/base/atom_table.h"

namespace zelta::desktop {

namespace {

// Submenu style bits of a command (host/commands.h).
constexpr int32_t kSubmenuStyle = 0x300;

ComPtr<IHostCommand> FindCommand(app::HostApp& app, Atom command);

QString TitleOf(app::HostApp& app, Atom command) {
  OwnedString title;
  if (ComPtr<IHostCommand> found = FindCommand(app, command)) found->GetTitle(title.Put());
  std::u16string_view view = title.View();
  if (view.empty()) return QString::fromStdString(base::AtomTable::Global().Utf8(command));
  // Menus show the title; tool bars strip the ellipsis themselves.
  return QString::fromUtf16(view.data(), static_cast<qsizetype>(view.size()));
}

ComPtr<IHostCommand> FindCommand(app::HostApp& app, Atom command) {
  ComPtr<ICommandManager> manager;
  ComPtr<ICommandRegistry> registry;
  ComPtr<IHostCommand> found;
  if (app.Ui().GetCommandManager(manager.Put()) == S_OK && manager &&
      manager->GetRegistry(registry.Put()) == S_OK && registry)
    registry->FindCommand(command, found.Put());
  return found;
}

// The module's icon ids and the names the desktop's icon theme knows them by (freedesktop
// naming); an id without an entry, or a theme without the name, leaves the button its text.
QIcon ThemeIcon(app::HostApp& app, Atom command) {
  static const std::pair<const char*, const char*> kNames[] = {
      {"cmd.bookmarksView.new", "document-new"},
      {"ico.bookmark.plugin.validate", "tools-check-spelling"},
      {"ico.bookmark.plugin.toTOC", "format-justify-left"},
      {"ico.bookmark.plugin.fromTOC", "format-indent-more"},
      {"ico.bookmark.plugin.sort", "view-sort-ascending"},
      {"ico.bookmark.plugin.case", "format-text-bold"},
      {"ico.bookmark.plugin.addText", "insert-text"},
      {"ico.bookmark.plugin.toDests", "insert-link"},
      {"ico.bookmark.plugin.findAndReplace", "edit-find-replace"},
      {"ico.bookmark.plugin.fromText", "document-open"},
      {"ico.bookmark.plugin.everyNthPage", "go-jump"},
  };
  ComPtr<IHostCommand> found = FindCommand(app, command);
  ComPtr<IHostIcon> icon;
  Atom id = kNoAtom;
  if (!found || found->GetIcon(icon.Put()) != S_OK || !icon || icon->GetId(&id) != S_OK) return {};
  const std::string name = base::AtomTable::Global().Utf8(id);
  for (const auto& [iconId, themeName] : kNames)
    if (name == iconId) return QIcon::fromTheme(themeName);
  return {};
}

bool IsSubmenu(ICommandBarItem* item) {
  int32_t style = 0;
  item->GetStyle(&style);
  return (style & kSubmenuStyle) == kSubmenuStyle;
}

// Calls `visit` for each item of the bar in order: a separator with kNoAtom; a submenu with
// `isSubmenu` and its bar (null when it has none); a command.
void ForEachItem(ICommandBar* bar,
                 const std::function<void(Atom, bool isSubmenu, ICommandBar*)>& visit) {
  if (!bar) return;
  int32_t count = 0;
  bar->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICommandBarItem> item;
    Atom command = kNoAtom;
    if (bar->GetItem(i, item.Put()) != S_OK || !item) continue;
    item->GetCommandId(&command);
    const bool isSubmenu = command != kNoAtom && IsSubmenu(item.Get());
    ComPtr<ICommandBar> submenu;
    if (isSubmenu) item->GetSubmenu(submenu.Put());
    visit(command, isSubmenu, submenu.Get());
  }
}

}  // namespace

ComPtr<ICommandBar> CommandMenus::FindSubmenu(Atom command) const {
  for (Atom barId : app_.Bars().BarOrder()) {
    ComPtr<ICommandBar> bar(app_.Bars().Bar(barId).Get());
    ComPtr<ICommandBarItem> item;
    if (bar && bar->FindItem(command, item.Put(), nullptr) == S_OK && item) {
      ComPtr<ICommandBar> submenu;
      if (item->GetSubmenu(submenu.Put()) == S_OK) return submenu;
    }
  }
  return nullptr;
}

QAction* CommandMenus::Action(Atom command, QObject* owner) {
  auto* action = new QAction(TitleOf(app_, command), owner);
  action->setObjectName(QString::fromStdString(base::AtomTable::Global().Utf8(command)));
  QObject::connect(action, &QAction::triggered, [run = run_, command] { run(command); });
  action->setEnabled(app_.CommandState(command) == kCommandEnabled);
  actions_.emplace_back(action, command);
  return action;
}

void CommandMenus::Fill(QMenu* menu, ICommandBar* bar) {
  ForEachItem(bar, [&](Atom command, bool isSubmenu, ICommandBar* submenu) {
    if (command == kNoAtom)
      menu->addSeparator();
    else if (isSubmenu)
      Fill(menu->addMenu(TitleOf(app_, command)), submenu);
    else
      menu->addAction(Action(command, menu));
  });
  QObject::connect(menu, &QMenu::aboutToShow, [this] { UpdateStates(); });
}

void CommandMenus::Fill(QToolBar* toolBar, ICommandBar* bar) {
  ForEachItem(bar, [&](Atom command, bool isSubmenu, ICommandBar* submenu) {
    if (command == kNoAtom) {
      toolBar->addSeparator();
    } else if (isSubmenu) {
      Fill(toolBar, submenu);
    } else {
      QAction* action = Action(command, toolBar);
      action->setIcon(ThemeIcon(app_, command));
      QString text = action->text();
      if (text.endsWith("...")) text.chop(3);
      action->setIconText(text);
      toolBar->addAction(action);
    }
  });
}

void CommandMenus::UpdateStates() {
  std::erase_if(actions_, [](const auto& entry) { return entry.first.isNull(); });
  for (auto& [action, command] : actions_)
    action->setEnabled(app_.CommandState(command) == kCommandEnabled);
}

}  // namespace zelta::desktop
