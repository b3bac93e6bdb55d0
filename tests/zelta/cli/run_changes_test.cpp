// The changes a run reports: a title counts as renamed only when its text changed, whatever
// encoding it is stored in, and items made, moved or removed are counted once each.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::BuildPdf;
using zelta::testing::PdfSpec;

// A PDF text string in UTF-16BE with its byte order mark.
std::string Utf16Title(const std::string& ascii) {
  std::string bytes = "\xFE\xFF";
  for (char c : ascii) bytes += std::string{'\0', c};
  return bytes;
}

nlohmann::json Changes(const ProcessResult& run) {
  return nlohmann::json::parse(run.out, nullptr, false)["changes"];
}

TEST(RunChanges, RenamedCountsChangedTextInEitherEncoding) {
  CliSandbox sandbox;
  PdfSpec layout;
  layout.pages.resize(3);
  auto wide = Bookmark("", 1);
  wide.rawTitle = Utf16Title("mixed Case");
  auto wideUpper = Bookmark("", 1);
  wideUpper.rawTitle = Utf16Title("WIDE UPPER");
  wideUpper.children = {Bookmark("child", 2), Bookmark("CHILD", 2)};
  layout.outline = {Bookmark("ALREADY UPPER", 0), wide, wideUpper};
  const std::string in = sandbox.Write("in.pdf", BuildPdf(layout));

  ProcessResult upper = sandbox.Zelta(
      {"run", "CBC", in, "-o", sandbox.Path("upper.pdf"), "--set", "Flags=upper", "--json"});
  ASSERT_TRUE(upper.Exited(0)) << upper.Describe();
  const nlohmann::json changes = Changes(upper);
  EXPECT_EQ(changes["renamed"], 2) << upper.out;  // "mixed Case" and "child"
  EXPECT_EQ(changes["moved"], 0) << upper.out;
  EXPECT_EQ(changes["made"], 0) << upper.out;
  EXPECT_EQ(changes["removed"], 0) << upper.out;

  // Sorting moves without renaming; the summary line says so.
  ProcessResult sorted = sandbox.Zelta({"run", "SB", sandbox.Path("upper.pdf"), "-o",
                                        sandbox.Path("s.pdf"), "--set", "Flags=alphabetical"});
  ASSERT_TRUE(sorted.Exited(0)) << sorted.Describe();
  EXPECT_EQ(sorted.err.find("renamed"), std::string::npos) << sorted.err;
  EXPECT_NE(sorted.err.find("moved"), std::string::npos) << sorted.err;
}

}  // namespace
}  // namespace zelta::cli_testing
