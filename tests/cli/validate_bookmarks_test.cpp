// Validate Bookmarks (VB) through the zelta program: it reads the file only (no -o needed,
// nothing written, the input untouched) and lists the invalid bookmarks with their warning
// bits, as text or as JSON.
#include <gtest/gtest.h>

#include "tests/cli/cli_sandbox.h"
#include "tests/cli/outline_lines.h"
#include "tests/fixtures/pdf_builder.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Action;
using zelta::testing::ActionSpec;
using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// VBOptions Flags: every check.
constexpr const char* kAllChecks = "Flags=0xFF";
// Warning bits of a record.
constexpr int kEmptyTitle = 0x1, kNoActions = 0x2, kNoGoTo = 0x4, kInvalidAction = 0x8,
              kUnknownName = 0x20, kNoFile = 0x40, kUriType = 0x10000;

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

// One bookmark per kind of fault, between bookmarks that are fine.
PdfSpec Faults() {
  PdfSpec layout;
  layout.pages.resize(2);
  layout.namedDests = {{"here", 1}};
  OutlineSpec named = Bookmark("Named");
  named.namedDest = "here";
  OutlineSpec lost = Bookmark("Lost name");
  lost.namedDest = "gone";
  OutlineSpec link = Bookmark("Empty link");
  link.actions = {Action("URI")};
  OutlineSpec remote = Bookmark("Remote without file");
  remote.actions = {Action("GoToR")};
  OutlineSpec parent = Bookmark("Parent", 0);
  parent.children = {Bookmark("", 1), Bookmark("Nothing")};
  layout.outline = {Bookmark("Fine", 0), named, lost, link, remote, parent};
  return layout;
}

TEST(ValidateBookmarks, WarningBitsPerFault) {
  CliSandbox sandbox;
  std::string pdf = sandbox.Write("faults.pdf", zelta::testing::BuildPdf(Faults()));
  auto record = [](const std::string& title, const std::string& position, int warnings) {
    return nlohmann::json{{"title", title}, {"position", position}, {"warnings", warnings}};
  };
  auto strip = [](nlohmann::json records) {
    for (auto& r : records) r.erase("messages");
    return records;
  };
  nlohmann::json all = RunJson(sandbox, pdf, kAllChecks);
  EXPECT_EQ(strip(all),
            nlohmann::json({record("Lost name", "3", kUnknownName),
                            record("Empty link", "4", kNoGoTo | kInvalidAction | kUriType),
                            record("Remote without file", "5", kNoGoTo | kNoFile),
                            record("", "6.1", kEmptyTitle), record("Nothing", "6.2", kNoActions)}));
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[1]["messages"], nlohmann::json({"No GoTo action is present in the action list.",
                                                "URI action is invalid."}));

  // Only the GoTo check: the other faults go unreported.
  EXPECT_EQ(strip(RunJson(sandbox, pdf, "Flags=0x4")),
            nlohmann::json({record("Lost name", "3", kUnknownName)}));
}

}  // namespace
}  // namespace zelta::cli_testing
