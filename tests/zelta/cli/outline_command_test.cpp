// `zelta outline`: its text and JSON agree on the corpus, both match an independent reader
// (mutool) on built files with awkward titles, and the JSON carries every field.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

class CorpusOutline : public ::testing::TestWithParam<std::string> {};

// The text listing and the JSON describe the same tree, the one mutool reads, without a
// warning.
TEST_P(CorpusOutline, TextListingFollowsTheTree) {
  CliSandbox sandbox;
  std::string pdf = CorpusPath(GetParam());
  ProcessResult text = sandbox.Zelta({"outline", pdf});
  ASSERT_TRUE(text.Exited(0)) << text.Describe();
  EXPECT_EQ(text.err, "");
  const std::vector<OutlineLine> lines = FlattenOutline(sandbox.Outline(pdf));
  EXPECT_EQ(lines, sandbox.MutoolOutline(pdf));
  std::string expected;
  for (const OutlineLine& line : lines) {
    expected += std::string(2 * static_cast<size_t>(line.depth), ' ') + line.title;
    if (line.page) expected += "  [p. " + std::to_string(*line.page) + "]";
    expected += "\n";
  }
  EXPECT_EQ(text.out, expected);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusOutline, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info) { return CorpusTestName(info.param); });

TEST(OutlineCommand, AwkwardTitlesMatchMutool) {
  CliSandbox sandbox;
  PdfSpec layout;
  layout.pages.resize(4);
  OutlineSpec quoted = Bookmark("say \"hi\" \\ back\\slash\ttab", 0);
  quoted.children.push_back(Bookmark("Ünïcödé — 日本語 ✓", 1));
  quoted.children.back().children.push_back(Bookmark("deeper", 3));
  OutlineSpec closed = Bookmark("closed parent", 2);
  closed.open = false;
  closed.children.push_back(Bookmark("hidden child", 1));
  OutlineSpec noTarget = Bookmark("no target");
  layout.outline = {quoted, closed, noTarget, Bookmark("", 0)};
  std::string pdf = sandbox.Write("awkward.pdf", zelta::testing::BuildPdf(layout));

  auto expected = sandbox.MutoolOutline(pdf);
  auto actual = FlattenOutline(sandbox.Outline(pdf));
  ASSERT_EQ(actual.size(), 7u);
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(actual[0].title, "say \"hi\" \\ back\\slash\ttab");
  EXPECT_EQ(actual[1].title, "Ünïcödé — 日本語 ✓");
  EXPECT_TRUE(actual[0].open);
  EXPECT_FALSE(actual[3].open);
  EXPECT_EQ(actual[5].page, std::nullopt);
}

TEST(OutlineCommand, JsonCarriesStyleColourAndActions) {
  CliSandbox sandbox;
  PdfSpec layout;
  layout.pages.resize(3);
  OutlineSpec styled = Bookmark("styled", 1);
  styled.style = 3;
  styled.color = 0x12AB34;
  OutlineSpec chain = Bookmark("chain");
  zelta::testing::ActionSpec uri;
  uri.type = "URI";
  uri.uri = "https://example.org/a?b=c";
  zelta::testing::ActionSpec goTo;
  goTo.page = 2;
  chain.actions = {uri, goTo};
  OutlineSpec named = Bookmark("named");
  named.namedDest = "there";
  layout.outline = {styled, chain, named};
  layout.namedDests = {{"there", 1}};
  auto json = sandbox.Outline(sandbox.Write("styled.pdf", zelta::testing::BuildPdf(layout)));
  ASSERT_TRUE(json.is_object());
  EXPECT_EQ(json["pages"], 3);
  const auto& marks = json["bookmarks"];
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0]["style"], 3);
  EXPECT_EQ(marks[0]["color"], "#12AB34");
  EXPECT_EQ(marks[1]["color"], nullptr);
  ASSERT_EQ(marks[1]["actions"].size(), 2u);
  EXPECT_EQ(marks[1]["actions"][0]["type"], "URI");
  EXPECT_EQ(marks[1]["actions"][0]["uri"], "https://example.org/a?b=c");
  EXPECT_EQ(marks[1]["actions"][1]["page"], 3);
  EXPECT_EQ(marks[1]["page"], 3);  // the last GoTo of the chain decides
  EXPECT_EQ(marks[2]["page"], 2);  // through the named destination
}

}  // namespace
}  // namespace zelta::cli_testing
