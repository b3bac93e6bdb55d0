// Everyday tasks as a new user meets them: a damaged outline is a finding of `zelta check`,
// unknown title macros are warned about once, --quiet and --json print what they promise and
// nothing else, and messages say what is wrong (a folder that does not exist, a generation
// without levels) and what to do.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fixtures/pdf_builder.h"
#include "tests/fixtures/raw_pdf.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::BuildPdf;
using zelta::testing::PdfSpec;

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A /Next chain that loops back and a /Count that lies; the bookmarks themselves are fine.
std::string LoopedOutline() {
  return zelta::testing::RawOutlinePdf(
      "/First 5 0 R /Last 8 0 R /Count 4",
      {"<< /Title (one) /Parent 4 0 R /Next 6 0 R /Dest [3 0 R /Fit] >>",
       // "two" claims five items below it.
       "<< /Title (two) /Parent 4 0 R /Prev 5 0 R /Next 8 0 R /First 7 0 R /Last 7 0 R "
       "/Count 5 /Dest [3 0 R /Fit] >>",
       "<< /Title (two.one) /Parent 6 0 R /Dest [3 0 R /Fit] >>",
       // "three" goes back to "two".
       "<< /Title (three) /Parent 4 0 R /Prev 6 0 R /Next 6 0 R /Dest [3 0 R /Fit] >>"});
}

TEST(CheckOutline, LoopsAndLyingCountsAreFindingsWithStatusFour) {
  CliSandbox sandbox;
  const std::string pdf = sandbox.Write("looped.pdf", LoopedOutline());
  ProcessResult text = sandbox.Zelta({"check", pdf});
  EXPECT_TRUE(text.Exited(4)) << text.Describe();
  EXPECT_TRUE(text.out.starts_with("Found 0 invalid bookmark(s)\nOutline structure: 2 faults\n"))
      << text.out;
  EXPECT_NE(text.out.find(": /Next points back to item "), std::string::npos) << text.out;
  EXPECT_NE(text.out.find(": /Count is 5, but 1 item below it shows"), std::string::npos)
      << text.out;
  EXPECT_NE(text.err.find("zelta: VB: 0 invalid bookmarks found, 2 outline structure faults"),
            std::string::npos)
      << text.err;

  // JSON: each finding once, no prose on either stream beyond the reader's warning.
  ProcessResult json = sandbox.Zelta({"check", pdf, "--json"});
  EXPECT_TRUE(json.Exited(4)) << json.Describe();
  const nlohmann::json parsed = nlohmann::json::parse(json.out, nullptr, false);
  ASSERT_TRUE(parsed.is_object()) << json.out;
  EXPECT_EQ(parsed["exit"], 4);
  EXPECT_EQ(parsed["output"], nlohmann::json::array());
  ASSERT_EQ(parsed["outline"].size(), 2u) << json.out;
  EXPECT_EQ(Occurrences(json.out, "points back"), 1u) << json.out;
  EXPECT_EQ(json.out.find("No real changes"), std::string::npos) << json.out;
  EXPECT_EQ(json.err.find("No real changes"), std::string::npos) << json.err;

  ProcessResult quiet = sandbox.Zelta({"check", pdf, "--quiet"});
  EXPECT_TRUE(quiet.Exited(4)) << quiet.Describe();
  EXPECT_EQ(quiet.err.find("zelta: VB:"), std::string::npos) << quiet.err;

  // A sound file passes; an invalid bookmark is a finding of its own.
  EXPECT_TRUE(sandbox.Zelta({"check", sandbox.Write("sound.pdf", ThreeBookmarks())}).Exited(0));
  PdfSpec layout;
  layout.pages.resize(1);
  layout.outline = {Bookmark("fine", 0), Bookmark("", 0)};
  ProcessResult found =
      sandbox.Zelta({"check", sandbox.Write("broken.pdf", BuildPdf(layout)), "--json"});
  EXPECT_TRUE(found.Exited(4)) << found.Describe();
  EXPECT_EQ(nlohmann::json::parse(found.out, nullptr, false)["output"].size(), 1u) << found.out;
}

TEST(TitleMacros, AnUnknownNameIsEmptyAndWarnedOnce) {
  CliSandbox sandbox;
  const std::string pdf = sandbox.Write("in.pdf", ThreeBookmarks());
  const std::string out = sandbox.Path("out.pdf");
  // Alone, and beside a known macro, the unknown name gives the same empty text.
  ProcessResult run = sandbox.Zelta({"run", "ATB", pdf, "-o", out, "--set", "Prefix=X%[Number]Y ",
                                     "--set", "Suffix= %[Number]%[Page]"});
  EXPECT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(sandbox.Zelta({"outline", out}).out,
            "XY one 1  [p. 1]\nXY two 2  [p. 2]\nXY three 3  [p. 3]\n");
  EXPECT_EQ(Occurrences(run.err, "%[Number]"), 1u) << run.err;
  EXPECT_NE(run.err.find("The macros here are %[Level], "), std::string::npos) << run.err;

  ProcessResult macros = sandbox.Zelta({"macros", "BENP"});
  EXPECT_TRUE(macros.Exited(0)) << macros.Describe();
  EXPECT_TRUE(macros.out.starts_with("BENP: TitleText is a title template")) << macros.out;
  EXPECT_NE(macros.out.find("%[HierIndex]"), std::string::npos);
  ProcessResult none = sandbox.Zelta({"macros", "CBC"});
  EXPECT_TRUE(none.Exited(2)) << none.Describe();
  EXPECT_NE(none.err.find("CBC takes no title template (the operations with templates: "),
            std::string::npos)
      << none.err;
}

TEST(QuietAndJson, PrintWhatTheyPromise) {
  CliSandbox sandbox;
  const std::string pdf = sandbox.Write("in.pdf", ThreeBookmarks());
  PdfSpec bare;
  bare.pages.resize(2);
  const std::string empty = sandbox.Write("bare.pdf", BuildPdf(bare));

  // A run that finds nothing to do: exit 3 says it; --quiet prints nothing.
  ProcessResult nothing =
      sandbox.Zelta({"run", "CBC", empty, "-o", sandbox.Path("o.pdf"), "--quiet"});
  EXPECT_TRUE(nothing.Exited(3)) << nothing.Describe();
  EXPECT_EQ(nothing.err, "");
  EXPECT_EQ(nothing.out, "");

  // A batch with --quiet: not a line from the children either.
  const std::string second = sandbox.Write("second.pdf", ThreeBookmarks());
  std::filesystem::create_directory(sandbox.Path("out"));
  ProcessResult batch = sandbox.Zelta({"run", "CBC", pdf, second, "--output-dir",
                                       sandbox.Path("out"), "--quiet", "--set", "Flags=upper"});
  EXPECT_TRUE(batch.Exited(0)) << batch.Describe();
  EXPECT_EQ(batch.err, "");
  EXPECT_EQ(batch.out, "");
  ProcessResult folder = sandbox.Zelta(
      {"run", "CBC", pdf, second, "--output-dir", sandbox.Path("missing"), "--quiet"});
  EXPECT_TRUE(folder.Exited(2)) << folder.Describe();
  EXPECT_NE(folder.err.find(sandbox.Path("missing") + " does not exist"), std::string::npos)
      << folder.err;

  // import says what it made, as run does, unless --quiet.
  const std::string tree = sandbox.Write("tree.txt", "First\n\tSecond\nThird\n");
  ProcessResult imported = sandbox.Zelta({"import", empty, tree, "-o", sandbox.Path("i.pdf")});
  EXPECT_TRUE(imported.Exited(0)) << imported.Describe();
  EXPECT_EQ(imported.err, "zelta: import: 3 bookmarks made; wrote " + sandbox.Path("i.pdf") + "\n");
  ProcessResult silent =
      sandbox.Zelta({"import", empty, tree, "-o", sandbox.Path("j.pdf"), "--quiet"});
  EXPECT_TRUE(silent.Exited(0)) << silent.Describe();
  EXPECT_EQ(silent.err, "");
}

}  // namespace
}  // namespace zelta::cli_testing
