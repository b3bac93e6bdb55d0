#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/fakes.h"
#include "zelta/app/atom_table.h"
#include "zelta/app/host_app.h"
#include "zelta/app/settings_store.h"

namespace zelta::app {
namespace {

// The real module, when the build made it: the host must serve its whole start-up.
TEST(PluginModule, StartsPlacesItsMenusAndShutsDown) {
  std::string module = ZELTA_BINARY_DIR "/libbookmarks.so";
  if (!std::filesystem::exists(module)) GTEST_SKIP() << "module not built: " << module;
  auto app = MakeCom<HostApp>();
  auto settings = std::filesystem::temp_directory_path() / "zelta-app-module-settings.json";
  std::filesystem::remove(settings);
  app->UseSettingsStore(std::make_shared<SettingsStore>(settings.string()));

  std::string error;
  ASSERT_EQ(app->LoadPlugin(module, &error), S_OK) << error;
  EXPECT_EQ(app->LoadPlugin(module, &error), E_INVALIDARG);
  app->CustomizeCommandBars();  // a second rebuild must not duplicate the menu

  auto bar = app->Bars().Bar(Intern("cmd.test"));
  int32_t position = -1, hresultInfo = -1;
  ASSERT_EQ(bar->FindItem(Intern("cmd.bookmarksPlugin"), nullptr, &position), S_OK);
  bar->FindItem(Intern("cmd.hresultInfo"), nullptr, &hresultInfo);
  EXPECT_EQ(position + 2, hresultInfo);
  int count = 0;
  for (auto& item : bar->Items()) count += item->Command() == Intern("cmd.bookmarksPlugin");
  EXPECT_EQ(count, 1);

  // Without a document every tool is disabled.
  EXPECT_EQ(app->CommandState(Intern("cmd.bookmarksPlugin.sort")), kCommandDisabled);
  auto menu = app->ShowContextMenu(Intern("menu.tool.selectText"));
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->FindItem(Intern("cmd.bookmarksPlugin.addAGBLevel"), nullptr, nullptr), S_OK);

  app->AddDocument(ComPtr<IHostDocument>(MakeCom<testing::FakeDocument>()));
  EXPECT_EQ(app->CommandState(Intern("cmd.bookmarksPlugin.sort")), kCommandEnabled);
  EXPECT_EQ(app->CommandState(Intern("cmd.bookmarksPlugin.fromTOC")), kCommandDisabled);  // no text selected
  std::string text = app->PrintCommands();
  EXPECT_NE(text.find("Sort Bookmarks...  [cmd.bookmarksPlugin.sort]\n"), std::string::npos) << text;

  app->Shutdown();
  EXPECT_EQ(app->ExecuteCommand(Intern("cmd.bookmarksPlugin.sort")), E_NOTIMPL);
  std::filesystem::remove(settings);
}

}  // namespace
}  // namespace zelta::app
