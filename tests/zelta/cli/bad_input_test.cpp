// Damaged files, hostile outlines and bad arguments: never a crash or a hang, always an exit
// status of 1 or 2 with a message that names the problem, and nothing written.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// Pre-order: 0 "one", 1 "one a", 2 "one b", 3 "two", 4 "two a", 5 "three".
PdfSpec SmallBook() {
  PdfSpec layout;
  layout.pages.resize(3);
  OutlineSpec one = Bookmark("one", 0);
  one.children = {Bookmark("one a", 0), Bookmark("one b", 1)};
  OutlineSpec two = Bookmark("two", 1);
  two.children = {Bookmark("two a", 2)};
  layout.outline = {one, two, Bookmark("three", 2)};
  return layout;
}

// Expects a refusal: status 1 or 2, the message mentioning `named`, no output file.
void ExpectRefused(const CliSandbox& sandbox, const ProcessResult& run, const std::string& named) {
  EXPECT_TRUE(run.Exited(1) || run.Exited(2)) << run.Describe();
  EXPECT_NE(run.err.find(named), std::string::npos)
      << "message does not name \"" << named << "\": " << run.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out.pdf")));
}

TEST(DamagedFile, TruncatedAndGarbageAreRefused) {
  CliSandbox sandbox;
  std::string whole = zelta::testing::BuildPdf(SmallBook());
  std::vector<std::pair<std::string, std::string>> files{
      {"empty.pdf", ""},
      {"cut10.pdf", zelta::testing::TruncatedPdf(whole, 10)},
      {"cut300.pdf", zelta::testing::TruncatedPdf(whole, 300)},
      {"garbage.pdf", zelta::testing::GarbageBytes(20000, 7)},
      {"header_only.pdf", "%PDF-1.7\n" + zelta::testing::GarbageBytes(5000, 11)},
  };
  for (uint32_t seed = 1; seed <= 5; ++seed)
    files.emplace_back("garbage" + std::to_string(seed) + ".pdf",
                       zelta::testing::GarbageBytes(4096, seed));
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    std::string path = sandbox.Write(name, bytes);
    ExpectRefused(sandbox, sandbox.Zelta({"outline", path}),
                  name.starts_with("garbage") ? name + ": cannot open as PDF" : name);
    ExpectRefused(
        sandbox,
        sandbox.Zelta({"run", "CBC", path, "-o", sandbox.Path("out.pdf"), "--set", "Flags=1"}),
        name);
  }
}

// Truncated anywhere after the body, the file may be repaired; either way no crash or hang.
TEST(DamagedFile, EveryTruncationEndsCleanly) {
  CliSandbox sandbox;
  std::string whole = zelta::testing::BuildPdf(SmallBook());
  for (size_t keep = 0; keep < whole.size(); keep += whole.size() / 12 + 1) {
    SCOPED_TRACE(keep);
    std::string path = sandbox.Write("cut.pdf", zelta::testing::TruncatedPdf(whole, keep));
    std::filesystem::remove(sandbox.Path("out.pdf"));
    ProcessResult run =
        sandbox.Zelta({"run", "CBC", path, "-o", sandbox.Path("out.pdf"), "--set", "Flags=1"});
    ASSERT_FALSE(run.timedOut || run.signal) << run.Describe();
    EXPECT_TRUE(run.status == 0 || run.status == 1 || run.status == 2 || run.status == 3)
        << run.Describe();
    if (run.status == 1 || run.status == 2) {
      EXPECT_TRUE(run.err.find("cut.pdf") != std::string::npos ||
                  run.err.find("out.pdf") != std::string::npos)
          << run.err;
    }
    EXPECT_EQ(std::filesystem::exists(sandbox.Path("out.pdf")), run.status == 0 || run.status == 3);
  }
}

class OutlineLoop : public ::testing::TestWithParam<bool> {};

// A /Next back to an earlier sibling or a /First up to an ancestor is cut with a warning;
// the rest of the tree stays usable and is written out whole.
TEST_P(OutlineLoop, IsCutWithAWarning) {
  CliSandbox sandbox;
  PdfSpec layout = SmallBook();
  if (GetParam()) {
    layout.nextOverride = {{5, 0}};  // "three" -> "one"
  } else {
    layout.firstOverride = {{4, 3}};  // "two a" gets "two" as its child
  }
  std::string in = sandbox.Write("loop.pdf", zelta::testing::BuildPdf(layout));
  std::string out = sandbox.Path("out.pdf");

  ProcessResult list = sandbox.Zelta({"outline", in});
  ASSERT_TRUE(list.Exited(0)) << list.Describe();
  EXPECT_NE(list.err.find("loop"), std::string::npos) << list.err;
  EXPECT_EQ(list.out,
            "one  [p. 1]\n  one a  [p. 1]\n  one b  [p. 2]\ntwo  [p. 2]\n  two a  [p. 3]\nthree  "
            "[p. 3]\n");

  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=1"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("loop"), std::string::npos) << run.err;
  EXPECT_EQ(Titles(sandbox.Outline(out)),
            (std::vector<std::string>{"ONE", "ONE A", "ONE B", "TWO", "TWO A", "THREE"}));
  EXPECT_TRUE(ReadPdfFacts(sandbox, out).checkPassed);
}

INSTANTIATE_TEST_SUITE_P(Links, OutlineLoop, ::testing::Bool(), [](const auto& info) {
  return info.param ? "NextBack" : "FirstToAncestor";
});

TEST(HugeOutline, HundredThousandSiblings) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("wide.pdf", zelta::testing::WideOutlinePdf(100000));
  std::string out = sandbox.Path("out.pdf");
  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=1", "--quiet"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  auto titles = Titles(sandbox.Outline(out));
  ASSERT_EQ(titles.size(), 100000u);
  auto original = Titles(sandbox.Outline(in));
  ASSERT_EQ(original.size(), titles.size());
  for (size_t i = 0; i < titles.size(); ++i) {
    std::string upper = original[i];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_EQ(titles[i], upper) << "bookmark " << i;
  }
  EXPECT_TRUE(ReadPdfFacts(sandbox, out).checkPassed);
}

TEST(HugeOutline, TenThousandDeepChain) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("deep.pdf", zelta::testing::DeepOutlinePdf(10000));
  std::string out = sandbox.Path("out.pdf");
  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=2", "--quiet"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  auto lines = FlattenOutline(sandbox.Outline(out));
  auto original = FlattenOutline(sandbox.Outline(in));
  ASSERT_EQ(lines.size(), 10000u);
  ASSERT_EQ(original.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].depth, static_cast<int>(i));
    std::string lower = original[i].title;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_EQ(lines[i].title, lower);
  }
  EXPECT_TRUE(ReadPdfFacts(sandbox, out).checkPassed);
}

class BadArguments : public ::testing::Test {
 protected:
  BadArguments() : in_(sandbox_.Write("in.pdf", zelta::testing::BuildPdf(SmallBook()))) {}

  ProcessResult RunWith(std::vector<std::string> extra, std::string input = "",
                        std::string output = "") {
    std::vector<std::string> args{"run", "CBC", input.empty() ? in_ : input, "-o",
                                  output.empty() ? sandbox_.Path("out.pdf") : output};
    args.insert(args.end(), extra.begin(), extra.end());
    return sandbox_.Zelta(args);
  }

  CliSandbox sandbox_;
  std::string in_;
};

TEST_F(BadArguments, OptionsThatDoNotFitTheTemplate) {
  ExpectRefused(sandbox_, RunWith({"--set", "Nope=1"}), "Nope");
  ExpectRefused(sandbox_, RunWith({"--set", "Flags=abc"}), "Flags");
  ExpectRefused(sandbox_, RunWith({"--set", "Flags=0x1FFFFFFFF"}), "Flags");
  ExpectRefused(sandbox_, RunWith({"--set", "ExcludedWords=5"}), "ExcludedWords");
  ExpectRefused(sandbox_, RunWith({"--set", "ExcludedWords=[1,2]"}), "ExcludedWords");
  ExpectRefused(sandbox_, RunWith({"--set", "Flags"}), "Flags");
  std::string options = sandbox_.Write("options.json", "{\"Flags\": \"uper\"}");
  ExpectRefused(sandbox_, RunWith({"--options", options}), "Flags");
  std::string broken = sandbox_.Write("broken.json", "{\"Flags\": ");
  ExpectRefused(sandbox_, RunWith({"--options", broken}), "broken.json");
  ExpectRefused(sandbox_, RunWith({"--options", sandbox_.Path("absent.json")}), "absent.json");
}

TEST_F(BadArguments, UnknownOperationAndMissingFiles) {
  ProcessResult unknown = sandbox_.Zelta({"run", "NoSuchOp", in_, "-o", sandbox_.Path("out.pdf")});
  ExpectRefused(sandbox_, unknown, "NoSuchOp");
  EXPECT_TRUE(unknown.Exited(2));
  ProcessResult missing = RunWith({}, sandbox_.Path("absent.pdf"));
  ExpectRefused(sandbox_, missing, "absent.pdf: file not found");
  EXPECT_TRUE(missing.Exited(2));
  ProcessResult folder = RunWith({}, "", sandbox_.Path("no/such/folder/out.pdf"));
  ExpectRefused(sandbox_, folder, "no/such/folder");
  EXPECT_FALSE(std::filesystem::exists(sandbox_.Path("no")));
  ExpectRefused(sandbox_, sandbox_.Zelta({"outline", sandbox_.Path("absent.pdf")}), "absent.pdf");
  ExpectRefused(sandbox_, sandbox_.Zelta({"run", "CBC", in_}), "-o");
}

TEST_F(BadArguments, BookmarkPositionsThatDoNotExist) {
  for (std::string selection :
       {"9", "1.5", "1.1.1", "0", "-1", "1.x", "2,", ",", "1..2", "99999999999999999999"}) {
    SCOPED_TRACE(selection);
    ProcessResult run = RunWith({"--set", "Flags=0x201", "--select-bookmarks", selection});
    ExpectRefused(sandbox_, run, "--select-bookmarks");
    EXPECT_TRUE(run.Exited(2));
  }
}

// A pattern that does not compile ends the run before any change, and the message says
// which pattern and what is wrong with it.
TEST_F(BadArguments, PatternsThatDoNotCompile) {
  ProcessResult find = sandbox_.Zelta({"run", "FRT", in_, "-o", sandbox_.Path("out.pdf"), "--set",
                                       "FindWords=[\"(one\"]", "--set", "Flags=4"});
  ExpectRefused(sandbox_, find,
                "FindWords \"(one\": The expression contained mismatched parentheses");
  EXPECT_TRUE(find.Exited(1));
  ProcessResult level = sandbox_.Zelta(
      {"run", "AGB", in_, "-o", sandbox_.Path("out.pdf"), "--set",
       R"(Levels=[{"Index":1,"Flags":8,"LevelDescription":{"TextPattern":"[a-"}}])"});
  ExpectRefused(sandbox_, level, "\"[a-\"");
  EXPECT_TRUE(level.Exited(1));
}

}  // namespace
}  // namespace zelta::cli_testing
