#include <gtest/gtest.h>

#include "tests/zelta/app/fakes.h"
#include "zelta/app/host_app.h"
#include "zelta/base/atom_table.h"
#include "zelta/ui/command_bar_printer.h"

namespace zelta::app {
namespace {

using testing::FakeHandler;
using testing::LambdaSink;

std::vector<std::string> Ids(const ui::CommandBar& bar) {
  std::vector<std::string> ids;
  for (auto& item : bar.Items())
    ids.push_back(item->IsSeparator() ? "---" : base::AtomTable::Global().Utf8(item->Command()));
  return ids;
}

TEST(CommandBar, InsertsAtPositionsFindsAndRemoves) {
  auto bar = MakeCom<ui::CommandBar>(base::Intern("bar.test"));
  Atom a = base::Intern("cmd.a"), b = base::Intern("cmd.b"), c = base::Intern("cmd.c");
  EXPECT_EQ(bar->InsertCommand(-1, a, 0, 0, nullptr), S_OK);
  EXPECT_EQ(bar->InsertCommand(0, b, 0, 0, nullptr), S_OK);
  EXPECT_EQ(bar->InsertSeparator(1), S_OK);
  EXPECT_EQ(bar->InsertCommand(3, c, 0x301, 0x300, nullptr), S_OK);  // position == count appends
  EXPECT_EQ(Ids(*bar), (std::vector<std::string>{"cmd.b", "---", "cmd.a", "cmd.c"}));
  EXPECT_EQ(bar->InsertCommand(5, a, 0, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(bar->InsertCommand(-2, a, 0, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(bar->InsertCommand(0, kNoAtom, 0, 0, nullptr), E_INVALIDARG);

  ComPtr<ICommandBarItem> item;
  int32_t position = 0;
  EXPECT_EQ(bar->FindItem(c, item.Put(), &position), S_OK);
  EXPECT_EQ(position, 3);
  int32_t style = 0;
  item->GetStyle(&style);
  EXPECT_EQ(style, 0x300);  // masked
  EXPECT_EQ(bar->FindItem(base::Intern("cmd.missing"), item.Put(), &position), S_FALSE);
  EXPECT_FALSE(item);
  EXPECT_EQ(position, -1);

  EXPECT_EQ(bar->RemoveAt(1), S_OK);
  EXPECT_EQ(bar->RemoveAt(3), E_INVALIDARG);
  EXPECT_EQ(Ids(*bar), (std::vector<std::string>{"cmd.b", "cmd.a", "cmd.c"}));
  EXPECT_EQ(bar->GetItem(3, item.Put()), S_FALSE);
  bar->Clear();
  EXPECT_TRUE(Ids(*bar).empty());
}

TEST(CommandBar, SubmenusAreMadeOnceAndSeparatorsHaveNone) {
  auto bar = MakeCom<ui::CommandBar>(base::Intern("bar.test"));
  ComPtr<ICommandBarItem> item;
  bar->InsertCommand(-1, base::Intern("cmd.menu"), 0x300, 0x300, item.Put());
  ComPtr<ICommandBar> first, second;
  ASSERT_EQ(item->GetSubmenu(first.Put()), S_OK);
  ASSERT_EQ(item->GetSubmenu(second.Put()), S_OK);
  EXPECT_EQ(first.Get(), second.Get());
  Atom id = 0;
  first->GetId(&id);
  EXPECT_EQ(id, base::Intern("cmd.menu"));

  bar->InsertSeparator(-1);
  bar->GetItem(1, item.Put());
  EXPECT_EQ(item->GetSubmenu(first.Put()), E_FAIL);
}

// Plays the part of a module: places a submenu before "cmd.hresultInfo" and refills it.
void PlaceMenu(IUnknown* object) {
  auto customization = QueryAs<ICommandBarCustomization>(object);
  ASSERT_TRUE(customization);
  ComPtr<ICommandBar> bar;
  ASSERT_EQ(customization->GetBar(base::Intern("cmd.test"), bar.Put()), S_OK);
  EXPECT_EQ(customization->GetBar(base::Intern("cmd.nope"), bar.Put()), S_FALSE);
  customization->GetBar(base::Intern("cmd.test"), bar.Put());
  ComPtr<ICommandBarItem> item;
  int32_t p = -1;
  if (bar->FindItem(base::Intern("cmd.module"), item.Put(), nullptr) != S_OK) {
    bar->FindItem(base::Intern("cmd.hresultInfo"), nullptr, &p);
    bar->InsertCommand(p, base::Intern("cmd.module"), 0x300, 0x300, item.Put());
    bar->InsertSeparator(p + 1);
  }
  ComPtr<ICommandBar> menu;
  item->GetSubmenu(menu.Put());
  menu->Clear();
  menu->InsertCommand(0, base::Intern("cmd.module.run"), 0, 0, nullptr);
  menu->InsertSeparator(1);
  menu->InsertCommand(2, base::Intern("cmd.module.off"), 0, 0, nullptr);
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto registry = app->Ui().Registry();
    registry->CreateCommand(base::Intern("cmd.module"), handler.Get(), nullptr);
    registry->CreateCommand(base::Intern("cmd.module.run"), handler.Get(), nullptr);
    registry->CreateCommand(base::Intern("cmd.module.off"), off.Get(), nullptr);
    ComPtr<IHostCommand> command;
    registry->FindCommand(base::Intern("cmd.module"), command.Put());
    command->SetTitle(u"Module", -1);
    registry->FindCommand(base::Intern("cmd.module.run"), command.Put());
    command->SetTitle(u"Run\nnow", -1);
    off->state = kCommandDisabled;
    app->Events().Subscribe(base::Intern("e.mainView.customizeCmdBars"), sink.Get(), 0);
  }
  void TearDown() override { app->Shutdown(); }

  ComPtr<HostApp> app = MakeCom<HostApp>();
  ComPtr<FakeHandler> handler = MakeCom<FakeHandler>();
  ComPtr<FakeHandler> off = MakeCom<FakeHandler>();
  ComPtr<LambdaSink> sink = MakeCom<LambdaSink>([](Atom, IUnknown* object, intptr_t extra) {
    EXPECT_EQ(extra, base::kMainWindow);
    PlaceMenu(object);
  });
};

// Bars rebuilt twice hold the module's menu once; the printout shows it with its titles,
// separators, submenu and disabled commands.
TEST_F(CommandsTest, CustomizationPlacesTheMenuOnceAndThePrinterShowsIt) {
  app->CustomizeCommandBars();
  app->CustomizeCommandBars();
  std::string text = app->PrintCommands();
  EXPECT_NE(text.find("Tools  [cmd.test]\n"
                      "  Select Text  [cmd.tool.selectText]\n"
                      "  Search...  [cmd.tool.search]\n"
                      "  ---\n"
                      "  Module  [cmd.module]\n"
                      "    Run now  [cmd.module.run]\n"
                      "    ---\n"
                      "    [cmd.module.off]  (disabled)\n"
                      "  ---\n"
                      "  Result Code Information...  [cmd.hresultInfo]\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Select Text  [menu.tool.selectText]\n"), std::string::npos) << text;
}

TEST_F(CommandsTest, PrinterStopsAtDeeplyNestedMenus) {
  auto bar = MakeCom<ui::CommandBar>(base::Intern("bar.deep"));
  ComPtr<ICommandBar> level(bar);
  for (int i = 0; i < 40; ++i) {
    ComPtr<ICommandBarItem> item;
    level->InsertCommand(-1, base::Intern("cmd.deep"), 0x300, 0x300, item.Put());
    item->GetSubmenu(level.Put());
  }
  ui::CommandBarPrinter printer(nullptr);
  std::string text = printer.Print(*bar, u"Deep");
  EXPECT_NE(text.find("..."), std::string::npos);
  EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 20);
}

TEST_F(CommandsTest, StateAndExecutionGoThroughTheHandler) {
  EXPECT_EQ(app->CommandState(base::Intern("cmd.module.run")), kCommandEnabled);
  EXPECT_EQ(handler->lastContext, static_cast<IUnknown*>(static_cast<IHostApp*>(app.Get())));
  EXPECT_EQ(app->CommandState(base::Intern("cmd.module.off")), kCommandDisabled);
  EXPECT_EQ(app->CommandState(base::Intern("cmd.never.registered")), kCommandDisabled);
  EXPECT_EQ(app->CommandState(base::Intern("cmd.props")), kCommandEnabled);  // host command

  std::string error;
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.module.run"), &error), S_OK);
  EXPECT_EQ(handler->executed, 1);
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.module.off"), &error), E_FAIL);
  EXPECT_EQ(error, "command 'cmd.module.off' is disabled");
  EXPECT_EQ(off->executed, 0);
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.never.registered"), &error), E_INVALIDARG);
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.props"), &error), E_NOTIMPL);
}

TEST_F(CommandsTest, ContextMenuIsBuiltFreshAndShownToModules) {
  Atom menuId = base::Intern("menu.tool.selectText");
  int seen = 0;
  auto menuSink = MakeCom<LambdaSink>([&](Atom, IUnknown* object, intptr_t) {
    auto event = QueryAs<IContextMenuEvent>(object);
    ASSERT_TRUE(event);
    Atom id = 0;
    event->GetMenuId(&id);
    EXPECT_EQ(id, menuId);
    ComPtr<ICommandBar> menu;
    event->GetMenu(menu.Put());
    int32_t p = -1;
    menu->FindItem(base::Intern("cmd.props"), nullptr, &p);
    menu->InsertCommand(p, base::Intern("cmd.module.run"), 0, 0, nullptr);
    ++seen;
  });
  app->Events().Subscribe(base::Intern("e.beforeShowContextMenu"), menuSink.Get(), 0);
  auto menu = app->ShowContextMenu(menuId);
  menu = app->ShowContextMenu(menuId);
  ASSERT_TRUE(menu);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(Ids(*menu), (std::vector<std::string>{"cmd.edit.copy", "cmd.edit.selectAll", "---",
                                                  "cmd.module.run", "cmd.props"}));
  EXPECT_FALSE(app->ShowContextMenu(base::Intern("menu.unknown")));
}

TEST_F(CommandsTest, RecreatingACommandSwapsItsHandlerAndShutdownDropsHandlers) {
  auto other = MakeCom<FakeHandler>();
  ComPtr<IHostCommand> command;
  app->Ui().Registry()->CreateCommand(base::Intern("cmd.module.run"), other.Get(), command.Put());
  OwnedString title;
  command->GetTitle(title.Put());
  EXPECT_EQ(title.View(), u"Run\nnow");  // the command stays, with its title
  app->ExecuteCommand(base::Intern("cmd.module.run"));
  EXPECT_EQ(other->executed, 1);
  EXPECT_EQ(handler->executed, 0);

  app->Shutdown();
  ComPtr<ICommandHandler> none;
  EXPECT_EQ(command->GetHandler(none.Put()), S_FALSE);
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.module.run")), E_NOTIMPL);
  EXPECT_EQ(app->Events().SinkCount(base::Intern("e.mainView.customizeCmdBars")), 0u);
}

TEST(Icons, KnowTheHostSetOnly) {
  auto app = MakeCom<HostApp>();
  ComPtr<IIconManager> icons;
  ASSERT_EQ(app->Ui().GetIconManager(icons.Put()), S_OK);
  ComPtr<IHostIcon> icon, again;
  for (const char* id : {"cmd.bookmarksView.new", "ico.bookmark.plugin.validate",
                         "ico.bookmark.plugin.fromText", "ico.bookmark.plugin.findAndReplace"}) {
    EXPECT_EQ(icons->FindIcon(base::Intern(id), icon.Put()), S_OK) << id;
    Atom got = 0;
    icon->GetId(&got);
    EXPECT_EQ(got, base::Intern(id));
  }
  icons->FindIcon(base::Intern("ico.bookmark.plugin.sort"), again.Put());
  icons->FindIcon(base::Intern("ico.bookmark.plugin.sort"), icon.Put());
  EXPECT_EQ(icon.Get(), again.Get());
  EXPECT_EQ(icons->FindIcon(base::Intern("ico.unknown"), icon.Put()), S_FALSE);
  EXPECT_FALSE(icon);
}

}  // namespace
}  // namespace zelta::app
