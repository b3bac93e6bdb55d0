// Start-up, identity, command registration, menu placement and command state of the plug-in
// against the real host.
#include <gtest/gtest.h>

#include <set>

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "plugin/operation_table.h"
#include "plugin/plugin_event_sink.h"
#include "plugin/plugin_settings.h"
#include "tests/harness/core_host.h"
#include "zelta/ui/command_bar.h"
#include "zelta/ui/command_bar_customization.h"
#include "zelta/ui/context_menu_event.h"

namespace bm {
zelta::HRESULT GetPluginObject(zelta::IUnknown* app, zelta::IPlugin** plugin);
}

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::testing::PdfSpec;

// The command ids of a bar's items in order; "-" for a separator.
std::vector<std::u16string> Items(zelta::ICommandBar* bar, zelta::IHostApp* app) {
  std::vector<std::u16string> items;
  int32_t count = 0;
  bar->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<zelta::ICommandBarItem> item;
    bar->GetItem(i, item.Put());
    zelta::Atom id = zelta::kNoAtom;
    item->GetCommandId(&id);
    zelta::OwnedString text;
    if (id != zelta::kNoAtom) app->GetAtomText(id, text.Put());
    items.push_back(id == zelta::kNoAtom ? u"-" : text.Str());
  }
  return items;
}

std::vector<std::u16string> SubmenuOf(zelta::ICommandBar* bar, zelta::IHostApp* app) {
  ComPtr<zelta::ICommandBarItem> item;
  int32_t position = -1;
  if (bar->FindItem(AtomOf(kSubmenuCommand), item.Put(), &position) != zelta::S_OK) return {};
  ComPtr<zelta::ICommandBar> submenu;
  item->GetSubmenu(submenu.Put());
  return Items(submenu.Get(), app);
}

ComPtr<zelta::IHostCommand> FindCommand(CoreHost& host, std::u16string_view id) {
  ComPtr<zelta::ICommandManager> manager;
  ComPtr<zelta::ICommandRegistry> registry;
  ComPtr<zelta::IHostCommand> command;
  host.App().Ui().GetCommandManager(manager.Put());
  if (manager) manager->GetRegistry(registry.Put());
  if (registry) registry->FindCommand(AtomOf(id), command.Put());
  return command;
}

std::u16string TitleOf(zelta::IHostCommand* command) {
  zelta::OwnedString title;
  command->GetTitle(title.Put());
  return title.Str();
}

void Raise(CoreHost& host, const char16_t* event, zelta::IUnknown* data) {
  host.App().Events().Raise(AtomOf(event), data, 1);
}

const std::vector<std::u16string> kExpectedSubmenu = {
    u"cmd.bookmarksPlugin.fromTOC",
    u"cmd.bookmarksPlugin.generate",
    u"cmd.bookmarksPlugin.fromTextFile",
    u"cmd.bookmarksPlugin.bookmarkEveryNthPage",
    u"-",
    u"cmd.bookmarksPlugin.addTextToBookmarkTitle",
    u"cmd.bookmarksPlugin.changeBookmarkCase",
    u"cmd.bookmarksPlugin.bookmarksToNamedDests",
    u"cmd.bookmarksPlugin.findReplaceBookmarkText",
    u"-",
    u"cmd.bookmarksPlugin.toTOC",
    u"cmd.bookmarksPlugin.sort",
    u"cmd.bookmarksPlugin.validate"};

TEST(PluginEntry, IdentityAndFixedAnswers) {
  EXPECT_EQ(GetPluginObject(nullptr, nullptr), zelta::E_POINTER);
  ComPtr<zelta::IPlugin> plugin;
  ASSERT_EQ(GetPluginObject(nullptr, plugin.Put()), zelta::S_OK);
  ASSERT_TRUE(plugin);
  zelta::OwnedString name, legal, notice;
  EXPECT_EQ(plugin->GetName(name.Put()), zelta::S_OK);
  EXPECT_EQ(name.View(), u"Bookmarks");
  // The legal text begins with the notice and says more.
  plugin->GetNotice(notice.Put());
  plugin->GetLegalInfo(legal.Put());
  EXPECT_EQ(legal.View().substr(0, notice.View().size()), notice.View());
  EXPECT_GT(legal.View().size(), notice.View().size());
  EXPECT_EQ(plugin->GetName(nullptr), zelta::E_POINTER);
  EXPECT_EQ(plugin->GetFlags(nullptr), zelta::S_OK);
  EXPECT_EQ(plugin->GetPropertyPages(nullptr), zelta::E_NOTIMPL);
  EXPECT_EQ(plugin->Attach(nullptr), zelta::E_INVALIDARG);
  // An object that is not the host application is refused with the query's result.
  EXPECT_EQ(plugin->Attach(plugin.Get()), zelta::E_NOINTERFACE);
  // Without a host nothing starts, and nothing fails.
  EXPECT_EQ(plugin->Initialize(), zelta::S_OK);
  EXPECT_EQ(plugin->Start(), zelta::S_OK);
  EXPECT_EQ(plugin->Shutdown(), zelta::S_OK);
}

TEST(AtomTable, HoldsTheIdsOnceInOrderAndMatchesTheHost) {
  CoreHost host;
  auto ids = AtomTableIds();
  std::set<std::u16string_view> unique(ids.begin(), ids.end());
  EXPECT_EQ(unique.size(), ids.size());
  for (std::u16string_view id : ids) {
    zelta::Atom atom = zelta::kNoAtom;
    ASSERT_EQ(host.App().InternString(id.data(), static_cast<int32_t>(id.size()), &atom),
              zelta::S_OK);
    EXPECT_EQ(AtomOf(id), atom);
  }
  EXPECT_EQ(AtomOf(u"not.in.table"), zelta::kNoAtom);
}

TEST(PluginStart, RegistersTheSubmenuCommandsWithTitlesAndItsEventType) {
  CoreHost host;
  // Declared at start-up: declaring again is answered S_FALSE.
  EXPECT_EQ(host.App().Events().DeclareEventType(AtomOf(u"e.bookmarksPlugin.addAGBLevel"), nullptr,
                                                 nullptr),
            zelta::S_FALSE);
  auto submenu = FindCommand(host, kSubmenuCommand);
  ASSERT_TRUE(submenu);
  EXPECT_EQ(TitleOf(submenu.Get()), u"Bookmarks");
  int32_t style = 0;
  submenu->GetStyle(&style);
  EXPECT_EQ(style & 0x300, 0x300);

  size_t commands = 0;
  for (const OperationRow& row : OperationRows()) {
    if (row.command.empty()) continue;
    ++commands;
    auto command = FindCommand(host, row.command);
    ASSERT_TRUE(command);
    EXPECT_EQ(TitleOf(command.Get()), host.Plugin().LoadString(row.titleId));
    EXPECT_NE(TitleOf(command.Get()), row.titleId);  // the string table knows every title
    ComPtr<zelta::ICommandHandler> handler;
    command->GetHandler(handler.Put());
    EXPECT_TRUE(handler);
  }
  EXPECT_EQ(commands, 12u);
}

TEST(PluginEvents, SubmenuIsPlacedOnceInBothBarsAndRefilled) {
  CoreHost host;
  zelta::IHostApp* app = &host.App();
  // The host built its bars once at start-up; raise the event twice more on the same bars.
  for (int i = 0; i < 2; ++i)
    Raise(host, u"e.mainView.customizeCmdBars",
          zelta::MakeCom<zelta::ui::CommandBarCustomization>(host.App().Bars().Bars()).Get());
  auto test = host.App().Bars().Bar(InternId(app, u"cmd.test"));
  auto advanced = host.App().Bars().Bar(InternId(app, u"cmd.advanced"));
  ASSERT_TRUE(test && advanced);
  auto testItems = Items(test.Get(), app);
  EXPECT_EQ(std::count(testItems.begin(), testItems.end(), u"cmd.bookmarksPlugin"), 1);
  // Between two separators, just before the host's result-info command.
  auto at =
      std::find(testItems.begin(), testItems.end(), u"cmd.bookmarksPlugin") - testItems.begin();
  ASSERT_GE(at, 1);
  ASSERT_LT(at + 2, static_cast<long>(testItems.size()));
  EXPECT_EQ(testItems[at - 1], u"-");
  EXPECT_EQ(testItems[at + 1], u"-");
  EXPECT_EQ(testItems[at + 2], u"cmd.hresultInfo");
  auto advancedItems = Items(advanced.Get(), app);
  EXPECT_EQ(std::count(advancedItems.begin(), advancedItems.end(), u"cmd.bookmarksPlugin"), 1);
  EXPECT_EQ(advancedItems.back(), u"cmd.bookmarksPlugin");
  EXPECT_EQ(SubmenuOf(test.Get(), app), kExpectedSubmenu);
  EXPECT_EQ(SubmenuOf(advanced.Get(), app), kExpectedSubmenu);
}

TEST(PluginEvents, SubmenuGoesToTheEndWithoutTheAnchor) {
  CoreHost host;
  zelta::IHostApp* app = &host.App();
  auto bar = zelta::MakeCom<zelta::ui::CommandBar>(InternId(app, u"cmd.test"));
  bar->InsertCommand(-1, AtomOf(u"cmd.props"), 0, 0, nullptr);
  std::map<zelta::Atom, ComPtr<zelta::ui::CommandBar>> bars{{InternId(app, u"cmd.test"), bar}};
  Raise(host, u"e.mainView.customizeCmdBars",
        zelta::MakeCom<zelta::ui::CommandBarCustomization>(bars).Get());
  EXPECT_EQ(Items(bar.Get(), app),
            (std::vector<std::u16string>{u"cmd.props", u"-", u"cmd.bookmarksPlugin"}));
}

TEST(PluginEvents, AddLevelCommandInTheSelectTextMenu) {
  CoreHost host;
  zelta::IHostApp* app = &host.App();
  auto menu = host.App().ShowContextMenu(AtomOf(u"menu.tool.selectText"));
  ASSERT_TRUE(menu);
  auto items = Items(menu.Get(), app);
  auto at =
      std::find(items.begin(), items.end(), u"cmd.bookmarksPlugin.addAGBLevel") - items.begin();
  ASSERT_LT(at + 2, static_cast<long>(items.size()));
  EXPECT_EQ(items[at + 1], u"-");
  EXPECT_EQ(items[at + 2], u"cmd.props");
  // Seen again, the same menu is left as it is.
  Raise(host, u"e.beforeShowContextMenu", zelta::MakeCom<zelta::ui::ContextMenuEvent>(menu).Get());
  EXPECT_EQ(Items(menu.Get(), app), items);

  // Without "cmd.props": a separator, then the command at the end.
  auto bare = zelta::MakeCom<zelta::ui::CommandBar>(AtomOf(u"menu.tool.selectText"));
  bare->InsertCommand(-1, InternId(app, u"cmd.edit.copy"), 0, 0, nullptr);
  Raise(host, u"e.beforeShowContextMenu", zelta::MakeCom<zelta::ui::ContextMenuEvent>(bare).Get());
  EXPECT_EQ(
      Items(bare.Get(), app),
      (std::vector<std::u16string>{u"cmd.edit.copy", u"-", u"cmd.bookmarksPlugin.addAGBLevel"}));

  // Another menu is not touched.
  auto other = zelta::MakeCom<zelta::ui::CommandBar>(InternId(app, u"menu.other"));
  Raise(host, u"e.beforeShowContextMenu", zelta::MakeCom<zelta::ui::ContextMenuEvent>(other).Get());
  EXPECT_TRUE(Items(other.Get(), app).empty());
}

TEST(PluginCommands, StateFollowsTheDocumentAndTheTextSelection) {
  CoreHost host;
  for (bool open : {false, true}) {
    if (open) {
      ASSERT_TRUE(host.Open(PdfSpec{}));
    }
    for (const OperationRow& row : OperationRows()) {
      if (row.command.empty()) continue;
      const bool needsText = row.command == u"cmd.bookmarksPlugin.addAGBLevel" ||
                             row.command == u"cmd.bookmarksPlugin.fromTOC";
      EXPECT_EQ(host.App().CommandState(AtomOf(row.command)),
                open && !needsText ? zelta::kCommandEnabled : zelta::kCommandDisabled)
          << open;
    }
  }
}

TEST(PluginCommands, HandlerAnswersNullArgumentsAndLeavesOtherCommands) {
  CoreHost host;
  auto sink = zelta::MakeCom<PluginEventSink>(&host.Plugin());
  int32_t state = 7;
  EXPECT_EQ(sink->UpdateCommandState(nullptr, nullptr, 0, &state), zelta::S_FALSE);
  EXPECT_EQ(sink->ExecuteCommand(1, nullptr, 0, 0, 0), zelta::S_FALSE);
  auto submenu = FindCommand(host, kSubmenuCommand);
  EXPECT_EQ(sink->UpdateCommandState(submenu.Get(), &host.App(), 0, &state), zelta::S_OK);
  EXPECT_EQ(state, 7);
  EXPECT_EQ(sink->GetCommandTip(submenu.Get(), nullptr), zelta::E_NOTIMPL);
  // A command without an operation runs nothing and shows nothing.
  EXPECT_EQ(sink->ExecuteCommand(1, submenu.Get(), 0, 0, 0), zelta::S_OK);
  EXPECT_TRUE(host.messages.empty());
  sink->Detach();
}

TEST(PluginCommands, OnlyExistingOperationsAreCreated) {
  CoreHost host;
  // Every command that has an operation makes one with its own id; the others make none.
  const std::pair<const char16_t*, const char16_t*> made[] = {
      {u"cmd.bookmarksPlugin.changeBookmarkCase", u"op.bookmarks.changeBookmarkCase"},
      {u"cmd.bookmarksPlugin.sort", u"op.bookmarks.sortBookmarks"},
      {u"cmd.bookmarksPlugin.validate", u"op.bookmarks.validate"},
      {u"cmd.bookmarksPlugin.generate", u"op.bookmarks.autoGenerateFromText"},
      {u"cmd.bookmarksPlugin.findReplaceBookmarkText", u"op.bookmarks.findReplaceBookmarkText"},
      {u"cmd.bookmarksPlugin.addTextToBookmarkTitle", u"op.bookmarks.addTextToBookmarkTitle"},
      {u"cmd.bookmarksPlugin.bookmarksToNamedDests", u"op.bookmarks.toNamedDests"},
      {u"cmd.bookmarksPlugin.fromTextFile", u"op.bookmarks.fromTextFile"},
      {u"cmd.bookmarksPlugin.bookmarkEveryNthPage", u"op.bookmarks.bookmarkEveryNthPage"},
      {u"cmd.bookmarksPlugin.toTOC", u"op.bookmarks.toTOC"},
      {u"cmd.bookmarksPlugin.fromTOC", u"op.bookmarks.fromTOC"},
  };
  for (const auto& [command, operation] : made) {
    auto op = CreateOperationForCommand(AtomOf(command), &host.Plugin());
    ASSERT_TRUE(op);
    zelta::Atom id = zelta::kNoAtom;
    op->GetOperationId(&id);
    EXPECT_EQ(id, AtomOf(operation));
  }
  EXPECT_FALSE(CreateOperationForCommand(zelta::kNoAtom, &host.Plugin()));
}

TEST(PluginShutdown, LaterEventsAndCommandsReachNoDeadPlugin) {
  auto host = std::make_unique<CoreHost>();
  auto command = FindCommand(*host, u"cmd.bookmarksPlugin.sort");
  ComPtr<zelta::ICommandHandler> handler;
  command->GetHandler(handler.Put());
  host->Plugin().Shutdown();
  int32_t state = 5;
  EXPECT_EQ(handler->UpdateCommandState(command.Get(), &host->App(), 0, &state), zelta::S_OK);
  EXPECT_EQ(state, zelta::kCommandDisabled);
  EXPECT_EQ(handler->ExecuteCommand(1, command.Get(), 0, 0, 0), zelta::S_OK);
  host->App().NotifySettingsChanged();
}

// Fresh settings hold the template's items and defaults, also after the host says the
// settings changed (the template is attached again).
TEST(PluginSettings, FreshSettingsHaveTemplateDefaults) {
  CoreHost host;
  for (bool changed : {false, true}) {
    if (changed) host.App().NotifySettingsChanged();
    auto root = SettingsRoot(host.Plugin());
    ASSERT_TRUE(root);
    for (const char16_t* name :
         {u"AGBLastUsedOptions", u"VBLastUsedOptions", u"CBCLastUsedOptions", u"ATBLastUsedOptions",
          u"BTTFLastUsedOptions", u"SBLastUsedOptions", u"AGBPresets", u"ToTOCPresets"})
      EXPECT_TRUE(CabItem(root.Get(), name)) << changed;
    EXPECT_EQ(CabInt(CabItem(root.Get(), u"ATBLastUsedOptions").Get(), u"StartLevel", -5), 1);
  }
  EXPECT_EQ(PresetListPath(u"AGBPresets"),
            u"PluginsData.5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813.AGBPresets");
}

// Puts a changed value into both kinds of settings items.
void Dirty(zelta::ICabItem* root) {
  CabItem(root, u"ATBLastUsedOptions")->SetInt(u"StartLevel", 4);
  ComPtr<zelta::ICabItem> removed = CabItem(CabItem(root, u"AGBPresets").Get(), u"_Removed");
  ComPtr<zelta::ICabItem> element;
  removed->Insert(-1, element.Put());
  element->SetText(nullptr, u"gone", -1);
}

int32_t RemovedCount(zelta::ICabItem* root) {
  int32_t count = -1;
  CabItem(CabItem(root, u"AGBPresets").Get(), u"_Removed")->GetCount(&count);
  return count;
}

TEST(PluginSettings, ResetSettingsFlags) {
  CoreHost host;
  auto root = SettingsRoot(host.Plugin());
  ASSERT_TRUE(root);
  struct Case {
    uint32_t flags;
    int32_t startLevel;
    int32_t removed;
  };
  for (const Case& c : {Case{0, 1, 0}, Case{1, 4, 0}, Case{2, 1, 1}, Case{3, 4, 1}}) {
    Dirty(root.Get());
    ASSERT_EQ(RemovedCount(root.Get()), 1);
    EXPECT_EQ(host.Plugin().ResetSettings(c.flags), zelta::S_OK);
    EXPECT_EQ(CabInt(CabItem(root.Get(), u"ATBLastUsedOptions").Get(), u"StartLevel", -5),
              c.startLevel)
        << c.flags;
    EXPECT_EQ(RemovedCount(root.Get()), c.removed) << c.flags;
    host.Plugin().ResetSettings(0);
  }
}

}  // namespace
}  // namespace bm::testing
