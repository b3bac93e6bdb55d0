// The persisted settings file: attaching a template over stored values, keeping unknown
// data, damaged files and atomic saving.
#include "zelta/app/settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr char16_t kTemplate[] =
    uR"(<CabTemplate>
  <ItemSet id="Opts"><Item id="Level" type="Int" defVal="1"/><Item id="Name" type="String" defVal="n"/>
    <Item id="Words" type="Array" itemSet="Words"/></ItemSet>
  <ItemSet id="Words"><Item type="String"/></ItemSet>
  <ItemSet id="Plugin"><Item id="A" type="Dictionary" itemSet="Opts"/><Item id="B" type="Dictionary" itemSet="Opts"/></ItemSet>
  <Root type="Dictionary" itemSet="Plugin" id="PluginRoot"/>
</CabTemplate>)";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void Write(const std::string& text) { zelta::testing::WriteFile(path_, text); }
  static std::string Read(const std::string& path) { return zelta::testing::ReadFile(path); }
  // Loads the file and attaches the template to node "P"; returns its root.
  ComPtr<ICabItem> Attach(SettingsStore& store, std::vector<std::string>* warnings = nullptr) {
    std::string warning;
    EXPECT_EQ(store.Load(&warning), S_OK) << warning;
    ComPtr<IHostSettings> node = store.Node("P");
    EXPECT_EQ(node->AttachTemplate(kTemplate, -1, u"PluginRoot"), S_OK);
    ComPtr<ICabItem> root;
    node->GetRoot(root.Put());
    if (warnings) *warnings = store.TakeWarnings();
    return root;
  }

  pdf::testing::ScratchDir scratch_;  // removed afterwards, write permission restored first
  fs::path dir_ = scratch_.Path();
  std::string path_ = scratch_.File("settings.json");
};

TEST_F(SettingsStoreTest, AttachKeepsStoredValuesAndAddsMissingOnes) {
  Write(R"({"P": {"A": {"Level": 4, "Words": ["x"]}}})");
  SettingsStore store(path_);
  std::vector<std::string> warnings;
  ComPtr<ICabItem> root = Attach(store, &warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(CabToJson(root.Get()), json::parse(R"({"A": {"Level": 4, "Name": "n", "Words": ["x"]},
                                                 "B": {"Level": 1, "Name": "n", "Words": []}})"));
  // A fresh file: every item at its default.
  fs::remove(path_);
  SettingsStore fresh(path_);
  EXPECT_EQ(CabToJson(Attach(fresh).Get())["B"]["Level"], 1);
}

TEST_F(SettingsStoreTest, MistypedStoredValuesFallBackToDefaultsWithAWarning) {
  Write(R"({"P": {"A": {"Level": "four", "Name": "kept", "Words": ["ok", 3]}, "B": []}})");
  SettingsStore store(path_);
  std::vector<std::string> warnings;
  json values = CabToJson(Attach(store, &warnings).Get());
  EXPECT_EQ(values["A"]["Level"], 1);
  EXPECT_EQ(values["A"]["Name"], "kept");
  EXPECT_EQ(values["A"]["Words"], json::parse(R"(["ok", ""])"));
  EXPECT_EQ(values["B"]["Level"], 1);
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0],
            "settings 'P': A.Level: expected an integer, got string; the default is used");
  EXPECT_NE(warnings[1].find("A.Words[1]: expected a string"), std::string::npos);
  EXPECT_NE(warnings[2].find("B: expected an object, got array"), std::string::npos);
  EXPECT_TRUE(store.TakeWarnings().empty());
}

TEST_F(SettingsStoreTest, UnknownStoredItemsSurviveASave) {
  Write(
      R"({"Other": {"x": [1, 2]}, "P": {"Old": {"deep": true}, "A": {"Level": 2, "Extra": "e"}}})");
  {
    SettingsStore store(path_);
    ComPtr<ICabItem> root = Attach(store);
    ComPtr<ICabItem> b;
    root->GetItem(u"B", b.Put());
    b->SetText(u"Name", u"changed", -1);
    std::string error;
    ASSERT_EQ(store.Save(&error), S_OK) << error;
  }
  json saved = json::parse(Read(path_));
  EXPECT_EQ(saved["Other"], json::parse(R"({"x": [1, 2]})"));
  EXPECT_EQ(saved["P"]["Old"], json::parse(R"({"deep": true})"));
  EXPECT_EQ(saved["P"]["A"]["Extra"], "e");
  EXPECT_EQ(saved["P"]["A"]["Level"], 2);
  EXPECT_EQ(saved["P"]["B"]["Name"], "changed");
  // And the saved file reads back into the same values.
  SettingsStore again(path_);
  EXPECT_EQ(CabToJson(Attach(again).Get())["B"]["Name"], "changed");
}

TEST_F(SettingsStoreTest, NodesAreStableAndAttachingAgainKeepsTheValues) {
  SettingsStore store(path_);
  ComPtr<ICabItem> root = Attach(store);
  EXPECT_EQ(store.Node("P").Get(), store.Node("P").Get());
  EXPECT_NE(store.Node("P").Get(), store.Node("Q").Get());
  ComPtr<ICabItem> a;
  root->GetItem(u"A", a.Put());
  a->SetInt(u"Level", 9);
  ComPtr<IHostSettings> node = store.Node("P");
  ASSERT_EQ(node->AttachTemplate(kTemplate, -1, u"PluginRoot"), S_OK);
  ComPtr<ICabItem> again;
  node->GetRoot(again.Put());
  EXPECT_EQ(CabToJson(again.Get())["A"]["Level"], 9);
  // A bad template leaves the node as it was.
  EXPECT_EQ(node->AttachTemplate(u"<CabTemplate>", -1, u"PluginRoot"), E_FAIL);
  EXPECT_EQ(node->AttachTemplate(kTemplate, -1, u"Missing"), E_INVALIDARG);
  node->GetRoot(again.Put());
  EXPECT_EQ(CabToJson(again.Get())["A"]["Level"], 9);
  // Before a template is attached the root is an empty dictionary.
  ComPtr<ICabItem> empty;
  ASSERT_EQ(store.Node("Q")->GetRoot(empty.Put()), S_OK);
  int32_t count = -1;
  empty->GetCount(&count);
  EXPECT_EQ(count, 0);
}

TEST_F(SettingsStoreTest, DamagedFileIsKeptAsideAndDefaultsAreUsed) {
  for (const char* damaged : {"{\"P\": {\"A\": ", "[1, 2]", "\xFF\xFE garbage"}) {
    Write(damaged);
    SettingsStore store(path_);
    std::string warning;
    ASSERT_EQ(store.Load(&warning), S_OK);
    EXPECT_NE(warning.find(path_), std::string::npos) << warning;
    EXPECT_NE(warning.find(path_ + ".bad"), std::string::npos) << warning;
    EXPECT_EQ(Read(path_ + ".bad"), damaged);
    ComPtr<IHostSettings> node = store.Node("P");
    ASSERT_EQ(node->AttachTemplate(kTemplate, -1, u"PluginRoot"), S_OK);
    std::string error;
    ASSERT_EQ(store.Save(&error), S_OK) << error;
    EXPECT_EQ(json::parse(Read(path_))["P"]["A"]["Level"], 1);
    EXPECT_EQ(Read(path_ + ".bad"), damaged);
  }
}

TEST_F(SettingsStoreTest, MissingFileIsAnEmptyStoreAndSaveCreatesTheFolder) {
  std::string nested = (dir_ / "a" / "b" / "settings.json").string();
  SettingsStore store(nested);
  std::string warning;
  EXPECT_EQ(store.Load(&warning), S_OK);
  EXPECT_TRUE(warning.empty());
  store.Node("P")->AttachTemplate(kTemplate, -1, u"PluginRoot");
  std::string error;
  ASSERT_EQ(store.Save(&error), S_OK) << error;
  EXPECT_EQ(json::parse(Read(nested))["P"]["B"]["Name"], "n");
}

TEST_F(SettingsStoreTest, SaveIsAtomicAndLeavesNothingBehindOnFailure) {
  Write(R"({"P": {"A": {"Level": 3}}})");
  SettingsStore store(path_);
  ComPtr<ICabItem> root = Attach(store);
  std::string error;
  ASSERT_EQ(store.Save(&error), S_OK);
  for (const auto& entry : fs::directory_iterator(dir_))  // no temporary files remain
    EXPECT_EQ(entry.path().filename(), "settings.json");
  std::string good = Read(path_);
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  // A folder that cannot be written: the save fails, names the file, keeps the old one.
  ComPtr<ICabItem> a;
  root->GetItem(u"A", a.Put());
  a->SetInt(u"Level", 8);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(store.Save(&error), E_ACCESS_DENIED);
  EXPECT_NE(error.find(path_), std::string::npos) << error;
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_EQ(Read(path_), good);
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename(), "settings.json");
}

TEST_F(SettingsStoreTest, OnlyChangedValuesAreWritten) {
  // Every value the template has, in a layout a save would not write.
  const std::string compact =
      R"({"P":{"A":{"Level":3,"Name":"n","Words":[]},"B":{"Level":1,"Name":"n","Words":[]}}})";
  Write(compact);
  {
    SettingsStore store(path_);
    ComPtr<ICabItem> root = Attach(store);
    std::string error;
    ASSERT_EQ(store.Save(&error), S_OK) << error;
    EXPECT_EQ(Read(path_), compact);  // the same values: the file is left as it is
    ComPtr<ICabItem> a;
    root->GetItem(u"A", a.Put());
    a->SetInt(u"Level", 5);
    ASSERT_EQ(store.Save(&error), S_OK) << error;
    EXPECT_EQ(json::parse(Read(path_))["P"]["A"]["Level"], 5);
    // Written by someone else since: the next save of changed values overwrites it.
    Write(compact);
    a->SetInt(u"Level", 6);
    ASSERT_EQ(store.Save(&error), S_OK) << error;
    EXPECT_EQ(json::parse(Read(path_))["P"]["A"]["Level"], 6);
  }
  // A missing file is written even when the store holds nothing new.
  fs::remove(path_);
  SettingsStore empty(path_);
  std::string warning, error;
  ASSERT_EQ(empty.Load(&warning), S_OK);
  ASSERT_EQ(empty.Save(&error), S_OK) << error;
  EXPECT_TRUE(fs::exists(path_));
}

TEST_F(SettingsStoreTest, FailedRenameRemovesTheTemporaryFile) {
  // The target is a folder: the rename fails whoever runs the test.
  fs::create_directories(path_);
  SettingsStore store(path_);
  std::string warning;
  EXPECT_TRUE(Failed(store.Load(&warning)));
  EXPECT_NE(warning.find(path_), std::string::npos) << warning;
  store.Node("P")->AttachTemplate(kTemplate, -1, u"PluginRoot");
  std::string error;
  EXPECT_TRUE(Failed(store.Save(&error)));
  EXPECT_NE(error.find(path_), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(path_));
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename(), "settings.json");
}

TEST_F(SettingsStoreTest, UnreadableFileIsAFailureNotAnEmptyStore) {
  Write(R"({"P": {}})");
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  fs::permissions(path_, fs::perms::none);
  SettingsStore store(path_);
  std::string warning;
  EXPECT_EQ(store.Load(&warning), E_ACCESS_DENIED);
  EXPECT_NE(warning.find(path_), std::string::npos);
  fs::permissions(path_, fs::perms::owner_all);
}

TEST_F(SettingsStoreTest, DefaultPathFollowsTheConfigFolderVariables) {
  std::string savedXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/cfg/zelta/settings.json");
  EXPECT_EQ(SettingsStore("").Path(), "/cfg/zelta/settings.json");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(SettingsStore::DefaultPath(), "/home/u/.config/zelta/settings.json");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsStore::DefaultPath(), "/home/u/.config/zelta/settings.json");
  EXPECT_EQ(SettingsStore("/x/s.json").Path(), "/x/s.json");
  if (savedXdg.empty())
    ::unsetenv("XDG_CONFIG_HOME");
  else
    ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace zelta::app
