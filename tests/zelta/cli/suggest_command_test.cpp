// `zelta suggest` and `zelta run --auto` as a user runs them: the options printed are the
// ones --auto uses, a document without headings says so, bad input gets the usual refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/fixtures/pdf_builder.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

TEST(SuggestCommand, PrintedOptionsAreTheOnesAutoRunsWith) {
  CliSandbox sandbox;
  const std::string pdf = CorpusPath("R-data.pdf");
  ProcessResult suggest = sandbox.Zelta({"suggest", pdf});
  ASSERT_TRUE(suggest.Exited(0)) << suggest.Describe();
  auto options = nlohmann::json::parse(suggest.out, nullptr, false);
  ASSERT_TRUE(options.is_object()) << suggest.out;
  EXPECT_FALSE(options["Levels"].empty());
  const std::string file = sandbox.Write("levels.json", suggest.out);

  ProcessResult explain = sandbox.Zelta({"suggest", pdf, "--explain"});
  EXPECT_TRUE(explain.Exited(0)) << explain.Describe();
  EXPECT_NE(explain.out.find("Level 1: "), std::string::npos) << explain.out;
  EXPECT_NE(explain.out.find("Body text: "), std::string::npos) << explain.out;

  // The manual has an outline: both runs append the same bookmarks after it.
  ProcessResult given = sandbox.Zelta(
      {"run", "AGB", pdf, "-o", sandbox.Path("given.pdf"), "--options", file, "--quiet"});
  ProcessResult automatic =
      sandbox.Zelta({"run", "AGB", pdf, "-o", sandbox.Path("auto.pdf"), "--auto", "--quiet"});
  ASSERT_TRUE(given.Exited(0)) << given.Describe();
  ASSERT_TRUE(automatic.Exited(0)) << automatic.Describe();
  EXPECT_EQ(sandbox.Outline(sandbox.Path("auto.pdf")), sandbox.Outline(sandbox.Path("given.pdf")));
  EXPECT_GT(sandbox.Outline(sandbox.Path("auto.pdf"))["bookmarks"].size(),
            sandbox.Outline(pdf)["bookmarks"].size());

  // --auto belongs to the operation the suggestion is for.
  ProcessResult other = sandbox.Zelta({"run", "CBC", pdf, "-o", sandbox.Path("cbc.pdf"), "--auto"});
  EXPECT_TRUE(other.Exited(2)) << other.Describe();
  EXPECT_NE(other.err.find("--auto"), std::string::npos) << other.err;
}

TEST(SuggestCommand, NoHeadingsAndBadInputAreSaidPlainly) {
  CliSandbox sandbox;
  using namespace zelta::testing;
  TextPdfSpec letter;
  for (int p = 0; p < 2; ++p) {
    TextPageSpec page;
    for (int l = 0; l < 20; ++l)
      page.lines.push_back(
          {72, 740.0 - 14 * l, {{"Plain text of a letter, line after line.", kRegular, 10}}});
    letter.pages.push_back(page);
  }
  const std::string plain = sandbox.Write("letter.pdf", BuildTextPdf(letter));
  ProcessResult none = sandbox.Zelta({"suggest", plain});
  EXPECT_TRUE(none.Exited(3)) << none.Describe();
  EXPECT_TRUE(none.out.empty()) << none.out;
  EXPECT_NE(none.err.find("letter.pdf: No headings found"), std::string::npos) << none.err;
  ProcessResult run =
      sandbox.Zelta({"run", "AGB", plain, "-o", sandbox.Path("out.pdf"), "--auto", "--quiet"});
  EXPECT_TRUE(run.Exited(3)) << run.Describe();
  EXPECT_NE(run.err.find("No headings found"), std::string::npos) << run.err;

  const struct {
    std::string name, bytes, message;
  } bad[] = {
      {"garbage.pdf", GarbageBytes(5000, 3), "garbage.pdf"},
      {"cut.pdf", TruncatedPdf(BuildTextPdf(letter), 200), "cut.pdf"},
  };
  for (const auto& b : bad) {
    ProcessResult refused = sandbox.Zelta({"suggest", sandbox.Write(b.name, b.bytes)});
    EXPECT_TRUE(refused.Exited(2)) << b.name << ": " << refused.Describe();
    EXPECT_NE(refused.err.find(b.message), std::string::npos) << refused.err;
  }
}

// Two levels of headings that together would make six bookmarks a page: a suggestion, but
// not one to use unattended. Each refusal says why in one line and how to go on; --force goes on.
TEST(SuggestCommand, UnsureSuggestionIsUsedOnlyWhenForced) {
  CliSandbox sandbox;
  using namespace zelta::testing;
  TextPdfSpec dense;
  for (int p = 0; p < 3; ++p) {
    TextPageSpec page;
    double y = 740 - 15.0 * p;
    for (int group = 0; group < 3; ++group) {
      const std::string n = std::to_string(p * 3 + group + 1);
      for (const auto& [title, size] :
           {std::pair{n + " Group " + n, 16.0}, {n + ".1 Item", 12.0}}) {
        y -= 16;
        page.lines.push_back({72, y, {{title, kBold, size}}});
        y -= 22;
        for (int l = 0; l < 2; ++l, y -= 13)
          page.lines.push_back(
              {72,
               y,
               {{"Running text that explains the entry above it in a line.", kRegular, 10}}});
      }
    }
    dense.pages.push_back(page);
  }
  const std::string pdf = sandbox.Write("dense.pdf", BuildTextPdf(dense));
  ProcessResult explain = sandbox.Zelta({"suggest", pdf, "--explain"});
  EXPECT_NE(explain.out.find("Confidence: "), std::string::npos) << explain.out;
  ProcessResult unsure = sandbox.Zelta({"suggest", pdf});
  EXPECT_TRUE(unsure.Exited(3)) << unsure.Describe() << explain.out;
  EXPECT_TRUE(unsure.out.empty()) << unsure.out;
  EXPECT_EQ(std::count(unsure.err.begin(), unsure.err.end(), '\n'), 1) << unsure.err;
  for (const char* part : {"dense.pdf: unsure of the headings", "bookmarks a page", "zelta fonts",
                           "style --find", "--force"})
    EXPECT_NE(unsure.err.find(part), std::string::npos) << part << ": " << unsure.err;
  ProcessResult forced = sandbox.Zelta({"suggest", pdf, "--force"});
  EXPECT_TRUE(forced.Exited(0)) << forced.Describe();
  EXPECT_TRUE(nlohmann::json::parse(forced.out, nullptr, false).is_object()) << forced.out;

  ProcessResult run =
      sandbox.Zelta({"run", "AGB", pdf, "-o", sandbox.Path("out.pdf"), "--auto", "--quiet"});
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(sandbox.Path("out.pdf")).good());
  ProcessResult force = sandbox.Zelta(
      {"run", "AGB", pdf, "-o", sandbox.Path("out.pdf"), "--auto", "--force", "--quiet"});
  EXPECT_TRUE(force.Exited(0)) << force.Describe();
  EXPECT_EQ(sandbox.Outline(sandbox.Path("out.pdf"))["bookmarks"].size(), 9u);
}

}  // namespace
}  // namespace zelta::cli_testing
