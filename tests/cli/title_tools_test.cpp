// Find and replace (FRT) and add text (ATB) through the zelta program on the corpus: every
// title becomes what the tool's rule makes of it, and nothing else in the outline or the file
// changes.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "platform/locale_text.h"
#include "tests/cli/cli_sandbox.h"
#include "tests/cli/outline_lines.h"
#include "tests/cli/pdf_facts.h"
#include "tools/title/literal_replace.h"

namespace zelta::cli_testing {
namespace {

// The nodes of an outline in pre-order with their depth (0 for the top level).
void Flatten(const nlohmann::json& nodes, int depth,
             std::vector<std::pair<const nlohmann::json*, int>>& out) {
  for (const auto& node : nodes) {
    out.emplace_back(&node, depth);
    Flatten(node["children"], depth + 1, out);
  }
}

std::vector<std::pair<const nlohmann::json*, int>> Nodes(const nlohmann::json& outline) {
  std::vector<std::pair<const nlohmann::json*, int>> nodes;
  Flatten(outline["bookmarks"], 0, nodes);
  return nodes;
}

// Runs one tool on a corpus copy and checks the written file against the expected titles:
// the rest of the outline, the pages, names and labels are as they were.
void ExpectTitles(const std::string& file, const std::vector<std::string>& runArgs,
                  const std::function<std::string(const std::string& title,
                                                  const nlohmann::json& node, int depth)>& rule) {
  CliSandbox sandbox;
  std::string in = sandbox.Copy(CorpusPath(file), "in.pdf");
  std::string out = sandbox.Path("out.pdf");
  nlohmann::json before = sandbox.Outline(in);
  ASSERT_TRUE(before.is_object());
  std::vector<std::string> expected;
  bool changes = false;
  for (const auto& [node, depth] : Nodes(before)) {
    const std::string title = (*node)["title"];
    expected.push_back(rule(title, *node, depth));
    changes = changes || expected.back() != title;
  }
  ASSERT_TRUE(changes) << "the case changes nothing in " << file;

  std::vector<std::string> args{"run", runArgs[0], in, "-o", out, "--quiet"};
  args.insert(args.end(), runArgs.begin() + 1, runArgs.end());
  ProcessResult run = sandbox.Zelta(args);
  ASSERT_TRUE(run.Exited(0)) << run.Describe();

  nlohmann::json after = sandbox.Outline(out);
  EXPECT_EQ(Titles(after), expected);
  EXPECT_EQ(MaskTitles(after), MaskTitles(before));
  PdfFacts original = ReadPdfFacts(sandbox, in), written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, original.pages);
  EXPECT_EQ(written.namedDests, original.namedDests);
  EXPECT_EQ(written.pageLabels, original.pageLabels);
}

class CorpusTitleTools : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusTitleTools, FindAndReplaceLiteralIgnoringCase) {
  ExpectTitles(GetParam(),
               {"FRT", "--set", R"(FindWords=["data"])", "--set", R"(ReplaceWords=["DATA set"])"},
               [](const std::string& title, const nlohmann::json&, int) {
                 std::u16string text = bm::platform::Utf8ToUtf16(title);
                 bm::LiteralReplace(text, u"data", u"DATA set", false, false);
                 return bm::platform::Utf16ToUtf8(text);
               });
}

TEST_P(CorpusTitleTools, FindAndReplacePatternWithGroups) {
  // Words swap around the first blank: "Reading data" becomes "data Reading".
  ExpectTitles(GetParam(),
               {"FRT", "--set", "Flags=4", "--set", R"x(FindWords=["^(\\w+) (\\w+)"])x", "--set",
                R"(ReplaceWords=["$2 $1"])"},
               [](const std::string& title, const nlohmann::json&, int) {
                 // ASCII words only: the same on UTF-8 bytes as on the host's UTF-16 text.
                 return std::regex_replace(title, std::regex("^(\\w+) (\\w+)"), "$2 $1");
               });
}

TEST_P(CorpusTitleTools, AddTextWithThePageMacro) {
  ExpectTitles(GetParam(), {"ATB", "--set", "Suffix= (p. %[Page])"},
               [](const std::string& title, const nlohmann::json& node, int) {
                 return title + " (p. " +
                        (node["page"].is_null() ? "" : std::to_string(node["page"].get<int>())) +
                        ")";
               });
}

TEST_P(CorpusTitleTools, AddTextToOneLevelOnly) {
  // Only the second level gets the prefix, with its level number.
  ExpectTitles(
      GetParam(),
      {"ATB", "--set", "Prefix=[%[Level]] ", "--set", "Flags=0x4", "--set", "StartLevel=2"},
      [](const std::string& title, const nlohmann::json&, int depth) {
        return depth == 1 ? "[2] " + title : title;
      });
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTitleTools, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace zelta::cli_testing
