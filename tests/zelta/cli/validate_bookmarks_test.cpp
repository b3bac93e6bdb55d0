// Validate Bookmarks (VB) through the zelta program: it reads the file only (no -o needed,
// nothing written, the input untouched) and lists the invalid bookmarks with their warning
// bits, as text or as JSON.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Action;
using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// VBOptions Flags: every check.
constexpr const char* kAllChecks = "Flags=0xFF";
// The warning bit of an unknown destination name.
constexpr int kUnknownName = 0x20;

// The 1-based hierarchical positions ("2.1.3") of mutool's lines.
std::vector<std::string> Positions(const std::vector<OutlineLine>& lines) {
  std::vector<std::string> positions;
  std::vector<int> counters;
  for (const OutlineLine& line : lines) {
    counters.resize(static_cast<size_t>(line.depth) + 1, 0);
    ++counters.back();
    std::string text;
    for (int n : counters) text += (text.empty() ? "" : ".") + std::to_string(n);
    positions.push_back(text);
  }
  return positions;
}

nlohmann::json RunJson(const CliSandbox& sandbox, const std::string& pdf,
                       const std::string& flags) {
  ProcessResult run = sandbox.Zelta({"run", "VB", pdf, "--set", flags, "--json"});
  EXPECT_TRUE(run.Exited(3)) << run.Describe();
  nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_FALSE(json.is_discarded()) << run.out;
  if (json.is_discarded()) return nullptr;
  EXPECT_EQ(json["result"], 1);
  EXPECT_EQ(json["message"], kNoChangesMessage);
  return json["output"];
}

TEST(ValidateBookmarks, CutCopyLosesTheTargetsOfTheDroppedPages) {
  CliSandbox sandbox;
  const std::string whole = CorpusPath("R-intro.pdf");
  ProcessResult clean = sandbox.Zelta({"run", "VB", whole, "--set", kAllChecks});
  EXPECT_TRUE(clean.Exited(3)) << clean.Describe();
  EXPECT_EQ(clean.out, "Found 0 invalid bookmark(s)\n");

  // The first 50 pages: the names of the sections further on lead nowhere now.
  std::string cut = sandbox.Path("cut.pdf");
  ProcessResult qpdf = sandbox.Tool("qpdf", {whole, "--pages", whole, "1-50", "--", cut});
  ASSERT_TRUE(qpdf.Exited(0)) << qpdf.Describe();
  const std::string cutBytes = zelta::testing::ReadFile(cut);
  const std::vector<std::string> files = sandbox.Files();

  std::vector<OutlineLine> lines = sandbox.MutoolOutline(whole);
  std::vector<std::string> positions = Positions(lines);
  nlohmann::json expected = nlohmann::json::array();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].page.value_or(0) <= 50) continue;
    expected.push_back({{"title", lines[i].title},
                        {"position", positions[i]},
                        {"warnings", kUnknownName},
                        {"messages", {"GoTo action refers to invalid Named Destination."}}});
  }
  ASSERT_EQ(expected.size(), 72u);
  EXPECT_EQ(RunJson(sandbox, cut, kAllChecks), expected);

  ProcessResult text = sandbox.Zelta({"run", "VB", cut, "--set", kAllChecks});
  EXPECT_TRUE(text.Exited(3)) << text.Describe();
  EXPECT_TRUE(text.out.starts_with("Found 72 invalid bookmark(s)\n1. Bookmark: \"" +
                                   expected[0]["title"].get<std::string>() + "\" [" +
                                   expected[0]["position"].get<std::string>() + "]\n"))
      << text.out.substr(0, 200);

  // The default options enable no check.
  ProcessResult unchecked = sandbox.Zelta({"run", "VB", cut});
  EXPECT_TRUE(unchecked.Exited(3)) << unchecked.Describe();
  EXPECT_EQ(unchecked.out, "Found 0 invalid bookmark(s)\n");

  EXPECT_EQ(zelta::testing::ReadFile(cut), cutBytes);
  EXPECT_EQ(sandbox.Files(), files);
}

// A record with several warnings lists one message per warning, in bit order. Which faults
// give which bits is tested in tests/tools/tree.
TEST(ValidateBookmarks, OneMessagePerWarning) {
  CliSandbox sandbox;
  PdfSpec layout;
  OutlineSpec link = Bookmark("Empty link");
  link.actions = {Action("URI")};
  layout.outline = {Bookmark("Fine", 0), link};
  std::string pdf = sandbox.Write("faults.pdf", zelta::testing::BuildPdf(layout));
  // Warnings 0x1000C: no GoTo (0x4), an invalid action (0x8) of type URI (0x10000).
  EXPECT_EQ(RunJson(sandbox, pdf, kAllChecks),
            nlohmann::json::parse(R"([{"title": "Empty link", "position": "2", "warnings": 65548,
                                       "messages": ["No GoTo action is present in the action list.",
                                                    "URI action is invalid."]}])"));
}

}  // namespace
}  // namespace zelta::cli_testing
