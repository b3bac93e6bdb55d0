// The input limits of the README's table, each proved on every path a value can come in by:
// the text format (zelta import and BFT), JSON and pdftk data. A refused input writes
// nothing and gets the same message whichever way it came; an accepted one reads back as it
// was given, in a file qpdf passes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

constexpr const char* kTitleMessage =
    "\" has more than 32767 characters (the longest title allowed)";

std::string ThreePages() {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  return zelta::testing::BuildPdf(layout);
}

std::string PdftkRecord(const std::string& title, const std::string& level,
                        const std::string& page) {
  return "BookmarkBegin\nBookmarkTitle: " + title + "\nBookmarkLevel: " + level +
         "\nBookmarkPageNumber: " + page + "\n";
}

// One outline in each format an import reads.
struct Formats {
  std::string text, json, pdftk;
};

class Limits : public ::testing::Test {
 protected:
  void SetUp() override { in_ = sandbox_.Write("in.pdf", ThreePages()); }

  ProcessResult Import(const std::string& name, const std::string& outline,
                       std::vector<std::string> extra = {}) {
    std::filesystem::remove(sandbox_.Path("out.pdf"));
    std::vector<std::string> args{
        "import", in_, sandbox_.Write(name, outline), "-o", sandbox_.Path("out.pdf"), "--quiet"};
    args.insert(args.end(), extra.begin(), extra.end());
    return sandbox_.Zelta(args);
  }

  // Every format refuses the outline with `message`, and nothing is written.
  void ExpectRefusedEverywhere(const Formats& formats, const std::string& message) {
    for (const auto& [name, outline] : {std::pair{"outline.txt", formats.text},
                                        {"outline.json", formats.json},
                                        {"outline.data", formats.pdftk}}) {
      SCOPED_TRACE(name);
      ProcessResult run = Import(name, outline);
      EXPECT_TRUE(run.Exited(1) || run.Exited(2)) << run.Describe();
      EXPECT_NE(run.err.find(message), std::string::npos) << run.err.substr(0, 300);
      EXPECT_FALSE(std::filesystem::exists(sandbox_.Path("out.pdf")));
    }
  }

  CliSandbox sandbox_;
  std::string in_;
};

TEST_F(Limits, TitleLengthIsOneLimitWithOneMessage) {
  const std::string longest(32767, 'x'), over(32768, 'y');
  ExpectRefusedEverywhere(
      {over + "\n", "[{\"title\":\"" + over + "\"}]", PdftkRecord(over, "1", "1")}, kTitleMessage);
  // The same through BFT, the module's own reading of the text format.
  ProcessResult bft = sandbox_.Zelta({"run", "BFT", in_, "-o", sandbox_.Path("out.pdf"), "--quiet",
                                      "--set", "FileName=" + sandbox_.Path("outline.txt")});
  EXPECT_TRUE(bft.Exited(1)) << bft.Describe();
  EXPECT_NE(bft.err.find(kTitleMessage), std::string::npos);

  // Options given with --set meet the same limit as an options file.
  ASSERT_TRUE(Import("book.json", "[{\"title\":\"a\"}]").Exited(0));
  ProcessResult prefix =
      sandbox_.Zelta({"run", "ATB", sandbox_.Path("out.pdf"), "-o", sandbox_.Path("atb.pdf"),
                      "--quiet", "--set", "Prefix=" + over});
  EXPECT_TRUE(prefix.Exited(1)) << prefix.Describe();
  EXPECT_NE(prefix.err.find("32767 characters (the longest title allowed)"), std::string::npos)
      << prefix.err.substr(0, 300);
  EXPECT_FALSE(std::filesystem::exists(sandbox_.Path("atb.pdf")));

  // A title of exactly the limit is taken by each format and comes back whole. An entity
  // counts as the one character it stands for.
  for (const auto& [name, outline] :
       {std::pair{"ok.txt", longest + "\n"},
        {"ok.json", "[{\"title\":\"" + longest + "\"}]"},
        {"ok.data", PdftkRecord(std::string(32766, 'x') + "&amp;", "1", "1")}}) {
    SCOPED_TRACE(name);
    ProcessResult run = Import(name, outline);
    ASSERT_TRUE(run.Exited(0)) << run.Describe();
    const std::string title = sandbox_.Outline(sandbox_.Path("out.pdf"))["bookmarks"][0]["title"];
    EXPECT_EQ(title.size(), 32767u);
  }
}

TEST_F(Limits, BookmarkCountIsCheckedBeforeAnythingIsBuilt) {
  constexpr size_t kOver = 1000001;
  std::string text, json = "[", pdftk;
  text.reserve(2 * kOver);
  json.reserve(3 * kOver);
  pdftk.reserve(14 * kOver);
  for (size_t i = 0; i < kOver; ++i) {
    text += "a\n";
    json += i ? ",{}" : "{}";
    pdftk += "BookmarkBegin\n";
  }
  json += "]";
  ExpectRefusedEverywhere({text, json, pdftk},
                          "the outline holds 1000001 bookmarks, more than the 1000000 an import "
                          "takes");
  // Nested lists count as well as the top one; actions are not bookmarks.
  std::string nested = "{\"bookmarks\":[{\"title\":\"top\",\"actions\":[";
  for (size_t i = 0; i < 1200; ++i) nested += "{\"type\":\"URI\",\"uri\":\"u\"},";
  nested += "{\"type\":\"URI\",\"uri\":\"u\"}],\"children\":[{},{\"children\":[{}]}]}]}";
  ProcessResult run = Import("nested.json", nested);
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(sandbox_.Outline(sandbox_.Path("out.pdf"))["bookmarks"][0]["children"].size(), 2u);
}

// Page numbers as the file gives them: one no document has leaves its link out with a
// warning that names it as written, before any arithmetic on it.
TEST_F(Limits, PageNumbersOutOfAnyRangeAreNamedAsWritten) {
  const std::string data = PdftkRecord("low", "1", "-9223372036854775808") +
                           PdftkRecord("high", "9223372036854775807", "9223372036854775807") +
                           PdftkRecord("past", "1", "2147483648") + PdftkRecord("fine", "2", "3");
  ProcessResult run = Import("pages.data", data);
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  for (const char* page :
       {"page -9223372036854775808 ", "page 9223372036854775807 ", "page 2147483648 "})
    EXPECT_NE(run.err.find(page), std::string::npos) << page << "\n" << run.err;
  const nlohmann::json outline = sandbox_.Outline(sandbox_.Path("out.pdf"));
  ASSERT_EQ(outline["bookmarks"].size(), 2u);
  EXPECT_EQ(outline["bookmarks"][1]["children"][0]["page"], 3);

  for (const char* page : {"0", "-1", "2147483648"}) {
    run = Import("page.json", std::string("[{\"title\":\"a\",\"page\":") + page + "}]");
    EXPECT_TRUE(run.Exited(2)) << page << ": " << run.Describe();
    EXPECT_NE(run.err.find("bookmarks[0].page must be 1 or more"), std::string::npos) << run.err;
  }
}

// Destination values: past the range, each format names the value (and the bookmark); in
// it, every value reads back as given from a file qpdf has nothing to say about.
TEST_F(Limits, DestinationValuesAreRangeCheckedAndReadBackEqual) {
  ProcessResult run = Import(
      "huge.json",
      R"([{"title":"a","actions":[{"type":"GoTo","page":1,"fit":"FitR","values":[1.7e308,0,1,1]}]}])");
  EXPECT_TRUE(run.Exited(2)) << run.Describe();
  EXPECT_NE(run.err.find("bookmarks[0].actions[0].values[0] 1.7e+308 is out of range (a "
                         "coordinate is -100000 to 100000) in bookmark \"a\""),
            std::string::npos)
      << run.err;
  run = Import("zoom.json",
               R"([{"title":"z","actions":[{"type":"GoTo","page":1,"values":[0,0,-1]}]}])");
  EXPECT_NE(run.err.find("values[2] -1 is out of range (a zoom is 0 to 100)"), std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox_.Path("out.pdf")));
  // The text format leaves the link out with a note, as it does for a page it cannot use.
  run = Import("huge.txt", "far;goto:{XYZ,0,0,1e9,5,1}\nnear;goto:{XYZ,0,0,10,5,1}\n");
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("line 1: value 1 \"1e9\" is out of range"), std::string::npos) << run.err;

  const nlohmann::json given = nlohmann::json::parse(R"([
    {"title":"xyz","actions":[{"type":"GoTo","page":1,"fit":"XYZ","values":[72.5,700.25,1.5]}]},
    {"title":"edges","actions":[{"type":"GoTo","page":2,"fit":"FitR",
                                 "values":[-100000,-0.5,100000,99999.5]}]},
    {"title":"zoom","actions":[{"type":"GoTo","page":3,"fit":"XYZ","values":[null,123.456,100]}]},
    {"title":"tiny","actions":[{"type":"GoTo","page":3,"fit":"FitH","values":[0.001]}]}])");
  run = Import("fine.json", given.dump());
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  const nlohmann::json back = sandbox_.Outline(sandbox_.Path("out.pdf"))["bookmarks"];
  ASSERT_EQ(back.size(), given.size());
  for (size_t i = 0; i < given.size(); ++i)
    EXPECT_EQ(back[i]["actions"][0]["values"], given[i]["actions"][0]["values"]) << i;
  const PdfFacts facts = ReadPdfFacts(sandbox_, sandbox_.Path("out.pdf"));
  EXPECT_TRUE(facts.checkPassed) << facts.checkOutput;
}

// With -o -, the document is saved to a temporary file first; a save that fails takes the
// temporary with it. A file size limit makes the save fail.
TEST(StandardOutput, AFailedSaveLeavesNoTemporary) {
  const std::string tmp = ::testing::TempDir() + "zelta_stdout_tmp_" + std::to_string(getpid());
  std::filesystem::remove_all(tmp);
  std::filesystem::create_directories(tmp);
  setenv("TMPDIR", tmp.c_str(), 1);
  CliSandbox sandbox;
  unsetenv("TMPDIR");
  const std::string in = sandbox.Copy(CorpusPath("R-data.pdf"), "in.pdf");
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", "-", "--quiet", "--set", "Flags=1"});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  EXPECT_TRUE(run.out.empty());
  // The sandbox's own folder is made under TMPDIR too.
  for (const auto& left : std::filesystem::directory_iterator(tmp))
    EXPECT_FALSE(left.path().filename().string().starts_with("zelta-stdout-")) << left.path();
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace zelta::cli_testing
