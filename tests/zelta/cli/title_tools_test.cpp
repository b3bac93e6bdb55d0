// The title tools (change case, find and replace, add text) through the zelta program on the
// corpus: every title becomes what the tool's rule makes of it, nothing else in the outline
// or the file changes, and a tool that leaves its own result alone finds nothing to do the
// second time. The rules themselves are tested in tests/tools/title; here they are the oracle.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "platform/locale_text.h"
#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"
#include "tools/title/change_case.h"
#include "tools/title/literal_replace.h"

namespace zelta::cli_testing {
namespace {

using Rule =
    std::function<std::string(const std::string& title, const nlohmann::json& node, int depth)>;

struct TitleCase {
  std::string name;
  std::vector<std::string> args;  // the operation, then its settings
  Rule rule;
  bool idempotent;  // a second run over the result changes nothing
};

void PrintTo(const TitleCase& c, std::ostream* out) { *out << c.name; }

std::string WithUtf16(const std::string& title, const std::function<void(std::u16string&)>& edit) {
  std::u16string text = bm::platform::Utf8ToUtf16(title);
  edit(text);
  return bm::platform::Utf16ToUtf8(text);
}

TitleCase ChangeCase(std::string name, int32_t flags, std::vector<std::string> excluded = {}) {
  std::vector<std::string> args{"CBC", "--set", "Flags=" + std::to_string(flags)};
  if (!excluded.empty())
    args.insert(args.end(), {"--set", "ExcludedWords=" + nlohmann::json(excluded).dump()});
  std::vector<std::u16string> words;
  for (const std::string& word : excluded) words.push_back(bm::platform::Utf8ToUtf16(word));
  Rule rule = [flags, words](const std::string& title, const nlohmann::json&, int) {
    return WithUtf16(title, [&](std::u16string& text) {
      EXPECT_EQ(bm::ChangeCaseEngine(words, flags).Apply(text), zelta::S_OK)
          << "cannot convert " << title;
    });
  };
  return {std::move(name), std::move(args), std::move(rule), true};
}

const std::vector<TitleCase>& TitleCases() {
  static const std::vector<TitleCase> cases{
      ChangeCase("Upper", bm::kUpperCase),
      ChangeCase("Lower", bm::kLowerCase),
      ChangeCase("Title", bm::kTitleCase),
      ChangeCase("Sentence", bm::kSentenceCase),
      ChangeCase("TitleExcluding", bm::kTitleCase | bm::kApplyExcludedWords,
                 {"of", "the", "AND", "r", "to", "a", "in", "data"}),
      // The flag by its name, as a user gives it.
      [] {
        TitleCase keep = ChangeCase("TitleKeepingCapitals", bm::kTitleCase | bm::kKeepCapitals);
        keep.args = {"CBC", "--set", "Flags=title+keepCapitals"};
        return keep;
      }(),
      {"FindLiteralIgnoringCase",
       {"FRT", "--set", R"(FindWords=["data"])", "--set", R"(ReplaceWords=["DATA set"])"},
       [](const std::string& title, const nlohmann::json&, int) {
         return WithUtf16(title, [](std::u16string& text) {
           bm::LiteralReplace(text, u"data", u"DATA set", false, false);
         });
       },
       false},
      // Words swap around the first blank: "Reading data" becomes "data Reading".
      {"FindPatternWithGroups",
       {"FRT", "--set", "Flags=4", "--set", R"x(FindWords=["^(\\w+) (\\w+)"])x", "--set",
        R"(ReplaceWords=["$2 $1"])"},
       [](const std::string& title, const nlohmann::json&, int) {
         // ASCII words only: the same on UTF-8 bytes as on the host's UTF-16 text.
         return std::regex_replace(title, std::regex("^(\\w+) (\\w+)"), "$2 $1");
       },
       false},
      {"AddTextWithThePageMacro",
       {"ATB", "--set", "Suffix= (p. %[Page])"},
       [](const std::string& title, const nlohmann::json& node, int) {
         return title + " (p. " +
                (node["page"].is_null() ? "" : std::to_string(node["page"].get<int>())) + ")";
       },
       false},
      // Only the second level gets the prefix, with its level number.
      {"AddTextToOneLevelOnly",
       {"ATB", "--set", "Prefix=[%[Level]] ", "--set", "Flags=0x4", "--set", "StartLevel=2"},
       [](const std::string& title, const nlohmann::json&, int depth) {
         return depth == 1 ? "[2] " + title : title;
       },
       false},
  };
  return cases;
}

std::vector<std::string> RunArgs(const TitleCase& c, const std::string& in,
                                 const std::string& out) {
  std::vector<std::string> args{"run", c.args[0], in, "-o", out, "--quiet"};
  args.insert(args.end(), c.args.begin() + 1, c.args.end());
  return args;
}

class CorpusTitleTools : public ::testing::TestWithParam<std::tuple<std::string, TitleCase>> {};

TEST_P(CorpusTitleTools, RewriteOnlyTitles) {
  const auto& [file, tool] = GetParam();
  CliSandbox sandbox;
  std::string in = sandbox.Copy(CorpusPath(file), "in.pdf");
  std::string out = sandbox.Path("out.pdf");
  nlohmann::json before = sandbox.Outline(in);
  ASSERT_TRUE(before.is_object());
  std::vector<std::string> expected;
  bool changes = false;
  for (const auto& [node, depth] : PreOrder(before)) {
    const std::string title = (*node)["title"];
    expected.push_back(tool.rule(title, *node, depth));
    changes = changes || expected.back() != title;
  }
  // The rewriting cases are chosen to change something in every corpus file.
  if (!tool.idempotent) {
    ASSERT_TRUE(changes) << "the case changes nothing in " << file;
  }
  ProcessResult run = sandbox.Zelta(RunArgs(tool, in, out));
  ASSERT_TRUE(run.Exited(changes ? 0 : 3)) << run.Describe();

  nlohmann::json after = sandbox.Outline(out);
  EXPECT_EQ(Titles(after), expected);
  EXPECT_EQ(MaskTitles(after), MaskTitles(before));
  PdfFacts original = ReadPdfFacts(sandbox, in), written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, original.pages);
  EXPECT_EQ(written.namedDests, original.namedDests);
  EXPECT_EQ(written.pageLabels, original.pageLabels);

  if (!tool.idempotent) return;
  std::string again = sandbox.Path("again.pdf");
  ProcessResult repeat = sandbox.Zelta(RunArgs(tool, out, again));
  // The status says nothing changed; --quiet leaves the notice out.
  EXPECT_TRUE(repeat.Exited(3)) << repeat.Describe();
  EXPECT_EQ(repeat.err.find(kNoChangesMessage), std::string::npos) << repeat.err;
  EXPECT_EQ(sandbox.Outline(again), after);  // written all the same
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTitleTools,
                         ::testing::Combine(::testing::ValuesIn(CorpusFiles()),
                                            ::testing::ValuesIn(TitleCases())),
                         [](const auto& info) {
                           return CorpusTestName(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param).name;
                         });

// --select-bookmarks takes 1-based hierarchical positions; --json reports the changed
// bookmarks by title and position.
TEST(RunCommand, SelectedBookmarksAndTheJsonReport) {
  using zelta::testing::Bookmark;
  CliSandbox sandbox;
  zelta::testing::PdfSpec layout;
  zelta::testing::OutlineSpec two = Bookmark("beta two", 0), three = Bookmark("gamma three", 0);
  two.children = {Bookmark("beta child", 0)};
  three.children = {Bookmark("gamma child", 0)};
  three.children[0].children = {Bookmark("gamma grandchild", 0)};
  layout.outline = {Bookmark("alpha one", 0), two, three};
  std::string in = sandbox.Write("nested.pdf", zelta::testing::BuildPdf(layout));
  std::string out = sandbox.Path("out.pdf");
  // UPPERCASE of the selected bookmarks without the levels below them.
  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=0x1201",
                                     "--select-bookmarks", "2,3.1", "--json"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  auto json = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << run.out;
  EXPECT_EQ(json["result"], 0);
  EXPECT_EQ(json["output"], nlohmann::json::parse(R"([{"title":"BETA TWO","position":"2"},
                                                      {"title":"GAMMA CHILD","position":"3.1"}])"));
  EXPECT_EQ(Titles(sandbox.Outline(out)),
            (std::vector<std::string>{"alpha one", "BETA TWO", "beta child", "gamma three",
                                      "GAMMA CHILD", "gamma grandchild"}));
}

// A case mode outside the four fails every bookmark: nothing changes, the program exits 3
// with the problems warning instead of the no-changes message, and --json says so.
TEST(RunCommand, ACaseModeOutsideTheFourIsAProblem) {
  CliSandbox sandbox;
  zelta::testing::PdfSpec layout;
  layout.outline = {zelta::testing::Bookmark("alpha one", 0), zelta::testing::Bookmark("beta", 0)};
  std::string in = sandbox.Write("two.pdf", zelta::testing::BuildPdf(layout));
  for (const char* flags : {"Flags=3", "Flags=8"}) {
    SCOPED_TRACE(flags);
    std::string out = sandbox.Path("out.pdf");
    ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", flags, "--json"});
    EXPECT_TRUE(run.Exited(3)) << run.Describe();
    auto json = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << run.out;
    EXPECT_EQ(json["problems"], true);
    EXPECT_EQ(json["message"],
              "There were some problems during the execution of the operation. Please check the "
              "result.");
    EXPECT_EQ(run.err.find(kNoChangesMessage), std::string::npos) << run.err;
    EXPECT_EQ(sandbox.Outline(out), sandbox.Outline(in));
  }
}

}  // namespace
}  // namespace zelta::cli_testing
