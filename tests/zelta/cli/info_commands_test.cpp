// The informational commands: result texts, option defaults, the command list and its
// state, and the stored settings, as the program prints them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

TEST(ResultCommand, TextsAndBadCodes) {
  CliSandbox sandbox;
  auto text = [&](const std::string& code) {
    ProcessResult run = sandbox.Zelta({"result", code});
    EXPECT_TRUE(run.Exited(0)) << code << ": " << run.Describe();
    return run.out;
  };
  // The module's texts reach the program; the texts themselves are tested in tests/zelta/base.
  EXPECT_EQ(text("0x821F1001"), "Error [Bookmarks]: No permissions for this operation.\n");
  EXPECT_EQ(text("-2111893503"), text("0x821F1001"));  // the same code in decimal
  EXPECT_EQ(text("0"), "Success\n");

  for (std::string bad : {"garbage", "0x", "0x1FFFFFFFF", ""}) {
    ProcessResult run = sandbox.Zelta({"result", bad});
    EXPECT_TRUE(run.Exited(2)) << bad << ": " << run.Describe();
    EXPECT_NE(run.err.find("\"" + bad + "\""), std::string::npos) << run.err;
  }
}

TEST(OptionsCommand, DefaultsInTemplateOrder) {
  CliSandbox sandbox;
  ProcessResult run = sandbox.Zelta({"options", "CBC", "--defaults", "--compact"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(run.out, "{\"Flags\":0,\"ExcludedWords\":[]}\n");
  ProcessResult byId =
      sandbox.Zelta({"options", "op.bookmarks.changeBookmarkCase", "--defaults", "--compact"});
  EXPECT_EQ(byId.out, run.out);
  ProcessResult unknown = sandbox.Zelta({"options", "XYZ"});
  EXPECT_TRUE(unknown.Exited(2)) << unknown.Describe();
  EXPECT_NE(unknown.err.find("XYZ"), std::string::npos) << unknown.err;
}

// The "Commands:" section of `zelta commands`: id -> state ("enabled" or "disabled").
std::map<std::string, std::string> CommandStates(const std::string& out) {
  std::map<std::string, std::string> states;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Commands:");
  while (std::getline(lines, line) && !line.empty()) {
    size_t first = line.find('\t'), last = line.rfind('\t');
    if (first == std::string::npos || first == last) {
      ADD_FAILURE() << "unexpected command line: " << line;
      continue;
    }
    if (line.starts_with("cmd.bookmarksPlugin."))
      states[line.substr(0, first)] = line.substr(last + 1);
  }
  return states;
}

// The program lists the module's commands with their titles and the states the module gives
// them; which command is enabled when is tested in tests/plugin.
TEST(CommandsCommand, ListsTheModulesCommandsWithTheirState) {
  CliSandbox sandbox;
  ProcessResult bare = sandbox.Zelta({"commands"});
  ASSERT_TRUE(bare.Exited(0)) << bare.Describe();
  auto states = CommandStates(bare.out);
  EXPECT_EQ(states.size(), 12u);
  EXPECT_EQ(states["cmd.bookmarksPlugin.changeBookmarkCase"], "disabled");

  zelta::testing::PdfSpec layout;
  layout.outline = {zelta::testing::Bookmark("only", 0)};
  ProcessResult run =
      sandbox.Zelta({"commands", sandbox.Write("doc.pdf", zelta::testing::BuildPdf(layout))});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  states = CommandStates(run.out);
  EXPECT_EQ(states["cmd.bookmarksPlugin.changeBookmarkCase"], "enabled");
  EXPECT_EQ(states["cmd.bookmarksPlugin.addAGBLevel"], "disabled");  // needs a text selection
  EXPECT_NE(run.out.find("Change Bookmark Case..."), std::string::npos);
  ProcessResult missing = sandbox.Zelta({"commands", sandbox.Path("absent.pdf")});
  EXPECT_TRUE(missing.Exited(2)) << missing.Describe();
}

class SettingsCommand : public ::testing::Test {
 protected:
  nlohmann::json Show() {
    ProcessResult run = sandbox_.Zelta({"settings", "show"});
    EXPECT_TRUE(run.Exited(0)) << run.Describe();
    auto json = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_FALSE(json.is_discarded()) << run.out;
    return json;
  }
  std::string SettingsFile() const { return sandbox_.Path("config/zelta/settings.json"); }

  CliSandbox sandbox_;
};

TEST_F(SettingsCommand, StoredOptionsAreShownUsedAndReset) {
  ProcessResult reset = sandbox_.Zelta({"settings", "reset"});
  ASSERT_TRUE(reset.Exited(0)) << reset.Describe();
  ASSERT_TRUE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(Show()["CBCLastUsedOptions"],
            nlohmann::json::parse(R"({"Flags":0,"ExcludedWords":[]})"));

  // Store UPPERCASE as CBC's last used options, wherever the file keeps them.
  auto stored = nlohmann::json::parse(zelta::testing::ReadFile(SettingsFile()));
  bool found = false;
  for (auto& [key, root] : stored.items()) {
    if (root.is_object() && root.contains("CBCLastUsedOptions")) {
      root["CBCLastUsedOptions"]["Flags"] = 1;
      found = true;
    }
  }
  ASSERT_TRUE(found) << stored.dump();
  zelta::testing::WriteFile(SettingsFile(), stored.dump());
  EXPECT_EQ(Show()["CBCLastUsedOptions"]["Flags"], 1);

  zelta::testing::PdfSpec layout;
  layout.outline = {zelta::testing::Bookmark("Mixed Case", 0)};
  std::string in = sandbox_.Write("in.pdf", zelta::testing::BuildPdf(layout));
  ASSERT_TRUE(
      sandbox_.Zelta({"run", "CBC", in, "-o", sandbox_.Path("last.pdf"), "--last"}).Exited(0));
  EXPECT_EQ(sandbox_.Zelta({"outline", sandbox_.Path("last.pdf")}).out, "MIXED CASE  [p. 1]\n");
  // Without --last the template's default (Title Case) applies: nothing to change.
  EXPECT_TRUE(sandbox_.Zelta({"run", "CBC", in, "-o", sandbox_.Path("plain.pdf")}).Exited(3));

  ASSERT_TRUE(sandbox_.Zelta({"settings", "reset", "--options"}).Exited(0));
  EXPECT_EQ(Show()["CBCLastUsedOptions"]["Flags"], 0);
}

TEST_F(SettingsCommand, DamagedSettingsFileFallsBackToDefaults) {
  std::filesystem::create_directories(sandbox_.Path("config/zelta"));
  zelta::testing::WriteFile(SettingsFile(), "{\"broken\": [");
  ProcessResult run = sandbox_.Zelta({"settings", "show"});
  EXPECT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("settings.json is not valid JSON at line 1, column 13"), std::string::npos)
      << run.err;
  auto json = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(json.is_discarded());
  EXPECT_EQ(json["CBCLastUsedOptions"]["Flags"], 0);
}

}  // namespace
}  // namespace zelta::cli_testing
