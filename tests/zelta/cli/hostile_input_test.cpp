// Inputs built to cost too much or to confuse the messages: a claimed page count out of all
// proportion to the file, patterns that would exhaust the stack, options that grow titles
// without end, text that is not UTF-8, output that cannot be written. Each ends quickly with
// a clear message, and nothing is written on failure.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

std::string DataPath(const std::string& name) {
  return ZELTA_SOURCE_DIR "/tests/data/repro/" + name;
}

// The page tree's root claims a count far from the six pages it holds.
TEST(PageTreeCount, IsCheckedAgainstTheRealPages) {
  CliSandbox sandbox;
  for (const char* name : {"page-count-negative.pdf", "page-count-huge.pdf"}) {
    SCOPED_TRACE(name);
    const std::string in = sandbox.Copy(DataPath(name), name);
    ProcessResult outline = sandbox.Zelta({"outline", in, "--json"}, std::chrono::seconds(20));
    ASSERT_TRUE(outline.Exited(0)) << outline.Describe();
    EXPECT_NE(outline.err.find("page tree"), std::string::npos) << outline.err;
    EXPECT_EQ(nlohmann::json::parse(outline.out)["pages"], 6);
    // Validation only reads (3: nothing changed); the conversion changes the file (0).
    for (const auto& [op, status] : {std::pair{"VB", 3}, std::pair{"BND", 0}}) {
      ProcessResult run = sandbox.Zelta({"run", op, in, "-o", sandbox.Path("out.pdf"), "--quiet"},
                                        std::chrono::seconds(20));
      EXPECT_TRUE(run.Exited(status)) << op << ": " << run.Describe();
    }
    EXPECT_TRUE(ReadPdfFacts(sandbox, sandbox.Path("out.pdf")).checkPassed);
  }
}

// Damage that other commands open with warnings does not end a run in a generic message: a
// /Kids that holds its own node is cut from the tree (so its pages read), a catalog without a
// page tree gets an empty one, text of no size gets no link, and a check only reads, so a
// file that allows only printing is checked.
TEST(DamagedPages, EveryCommandCopesAsFontsDoes) {
  CliSandbox sandbox;
  const std::string loop = sandbox.Copy(DataPath("kids-loop.pdf"), "kids-loop.pdf");
  ProcessResult fonts = sandbox.Zelta({"fonts", loop});
  ASSERT_TRUE(fonts.Exited(0)) << fonts.Describe();
  EXPECT_NE(fonts.err.find("refers to object 2 a second time"), std::string::npos) << fonts.err;
  EXPECT_EQ(fonts.err.find("cannot be read"), std::string::npos) << fonts.err;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"suggest", loop, "--quiet"},
        {"run", "AGB", loop, "-o", sandbox.Path("agb.pdf"), "--auto", "--quiet"}}) {
    ProcessResult run = sandbox.Zelta(args);
    EXPECT_TRUE(run.Exited(0) || run.Exited(3)) << args[0] << ": " << run.Describe();
    EXPECT_EQ(run.err.find("Unspecified error"), std::string::npos) << run.err;
  }
  // The repaired tree is what a written file holds.
  ProcessResult cbc = sandbox.Zelta(
      {"run", "CBC", loop, "-o", sandbox.Path("cbc.pdf"), "--set", "Flags=2", "--quiet"});
  ASSERT_TRUE(cbc.Exited(0) || cbc.Exited(3)) << cbc.Describe();
  const PdfFacts facts = ReadPdfFacts(sandbox, sandbox.Path("cbc.pdf"));
  EXPECT_TRUE(facts.checkPassed) << facts.checkOutput;
  EXPECT_EQ(facts.pages, 2);

  const std::string bare = sandbox.Copy(DataPath("no-pages.pdf"), "no-pages.pdf");
  ProcessResult toc =
      sandbox.Zelta({"run", "ToTOC", bare, "-o", sandbox.Path("toc.pdf"), "--quiet"});
  EXPECT_TRUE(toc.Exited(1)) << toc.Describe();
  EXPECT_NE(toc.err.find("the document has no pages"), std::string::npos) << toc.err;
  EXPECT_NE(toc.err.find("no page tree"), std::string::npos) << toc.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("toc.pdf")));

  // Text of a 1e38 font size and a degenerate matrix: entries are read, links need an area.
  const std::string degenerate = sandbox.Copy(DataPath("bad-content.pdf"), "bad-content.pdf");
  ProcessResult fromToc =
      sandbox.Zelta({"run", "FromTOC", degenerate, "-o", sandbox.Path("fromtoc.pdf"),
                     "--select-text", "1", "--quiet"});
  EXPECT_TRUE(fromToc.Exited(0) || fromToc.Exited(3)) << fromToc.Describe();

  const std::string printOnly = sandbox.Copy(DataPath("print-only.pdf"), "print-only.pdf");
  ProcessResult checked = sandbox.Zelta({"check", printOnly});
  EXPECT_TRUE(checked.Exited(0) || checked.Exited(4)) << checked.Describe();
  EXPECT_EQ(checked.err.find("No permissions"), std::string::npos) << checked.err;
}

// The long line is a title of about 8,000 characters that a back-reference pattern would
// need a deep recursion for; a small stack must not matter.
TEST(GenerationPattern, BackReferenceOnALongTitleFailsWithAMessage) {
  CliSandbox sandbox;
  const std::string in = sandbox.Copy(DataPath("long-title-line.pdf"), "in.pdf");
  rlimit saved{};
  getrlimit(RLIMIT_STACK, &saved);
  rlimit small = saved;
  small.rlim_cur = 4u << 20;
  setrlimit(RLIMIT_STACK, &small);
  ProcessResult run = sandbox.Zelta(
      {"run", "AGB", in, "-o", sandbox.Path("out.pdf"), "--quiet", "--set",
       R"(Levels=[{"Index":1,"Flags":9,"LevelDescription":{"FontSize":1.5,"FontTolerance":0.1,"TextPattern":"^(a|b)*\\1!$"}}])"});
  setrlimit(RLIMIT_STACK, &saved);
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  EXPECT_NE(run.err.find("level 1: text pattern \"^(a|b)*\\1!$\""), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out.pdf")));
}

// Options that would make a title pass the limit, and an options file past its own.
TEST(TitleLimit, GrowingTitlesFailBeforeAnythingIsWritten) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  const std::string longText(40000, 'x');
  const std::string longLine = sandbox.Copy(DataPath("long-title-line.pdf"), "line.pdf");
  struct Case {
    std::string name, input, options, message;
  };
  const std::vector<Case> cases{
      {"literal", in, nlohmann::json{{"FindWords", {"o"}}, {"ReplaceWords", {longText}}}.dump(),
       "32767"},
      {"pattern", in,
       nlohmann::json{{"FindWords", {"."}}, {"ReplaceWords", {longText}}, {"Flags", 4}}.dump(),
       "32767"},
      {"generation", longLine,
       nlohmann::json{{"Levels",
                       {{{"Index", 1},
                         {"Flags", 1},
                         {"LevelDescription", {{"FontSize", 1.5}, {"FontTolerance", 0.1}}},
                         {"Formatting", {{"Prefix", longText}, {"TitleLength", 100000}}}}}}}
           .dump(),
       "level 1: the title"},
      {"options file", in, "{\"Prefix\": \"" + std::string((16u << 20) + 1, 'x') + "\"}", "16 MiB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string op = c.name == "options file" ? "ATB"
                           : c.name == "generation" ? "AGB"
                                                    : "FRT";
    ProcessResult run = sandbox.Zelta({"run", op, c.input, "-o", sandbox.Path("out.pdf"), "--quiet",
                                       "--options", sandbox.Write("options.json", c.options)});
    EXPECT_TRUE(run.Exited(1) || run.Exited(2)) << run.Describe();
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out.pdf")));
  }
}

// Messages name the option and say what is wrong without repeating bytes that are not text.
TEST(Messages, NameTheOptionAndThePlace) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases{
      {{"--set", "Flags=-1"}, "Flags 0xFFFFFFFF asks for the selected bookmarks"},
      {{"--set", "ExcludedWords=[\"\xC3x\"]"}, "ExcludedWords: the value is not valid UTF-8"},
      {{"--set", "ExcludedWords=[\"a\",]"}, "not valid JSON at line 1, column 6"},
      {{"--options",
        sandbox.Write("utf8.json", "{\"Flags\": 1,\n \"ExcludedWords\": [\"a\xC3x\"]}")},
       "utf8.json: not valid UTF-8 at line 2, column 22"},
      {{"--options", sandbox.Write("surrogate.json", "{\"ExcludedWords\": [\"\\ud800\"]}")},
       "surrogate.json: not valid JSON at line 1, column"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args{"run", "CBC", in, "-o", sandbox.Path("out.pdf")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ProcessResult run = sandbox.Zelta(args);
    EXPECT_TRUE(run.Exited(1) || run.Exited(2)) << run.Describe();
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\xC3'), std::string::npos) << "raw bytes echoed: " << run.err;
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out.pdf")));
  }
}

TEST(StandardOutput, AWriteErrorFailsTheCommand) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  for (const char* json : {"", "--json"}) {
    ProcessResult run =
        sandbox.Tool("sh", {"-c", "\"$0\" outline \"$1\" $2 > /dev/full", ZeltaPath(), in, json});
    EXPECT_TRUE(run.Exited(1)) << run.Describe();
    EXPECT_NE(run.err.find("cannot write to standard output"), std::string::npos) << run.err;
  }
}

// A generation that finds no title succeeds without a message; the status still tells
// scripts that nothing changed.
TEST(GenerationRun, NoTitleFoundIsASilentSuccess) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  ProcessResult run =
      sandbox.Zelta({"run", "AGB", in, "-o", sandbox.Path("out.pdf"), "--json", "--set",
                     R"(Levels=[{"Index":1,"Flags":1,"LevelDescription":{"FontSize":99}}])"});
  EXPECT_TRUE(run.Exited(3)) << run.Describe();
  auto json = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_EQ(json["result"], 0) << run.out;
  EXPECT_EQ(json["message"], "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(sandbox.Outline(sandbox.Path("out.pdf")), sandbox.Outline(in));
}

}  // namespace
}  // namespace zelta::cli_testing
