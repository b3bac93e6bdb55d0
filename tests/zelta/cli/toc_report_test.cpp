// What the contents-page operations report through the zelta program: the pages and links a
// run makes are counted in the closing line and in --json, so that the exit status, the
// summary and the JSON agree.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;

TEST(TocReport, PagesAndLinksMadeAreCountedInTheSummaryAndJson) {
  CliSandbox box;
  zelta::testing::PdfSpec book;
  book.pages.resize(4);
  book.outline = {Bookmark("One", 1), Bookmark("Two", 2), Bookmark("Three", 3)};
  const std::string in = box.Write("book.pdf", zelta::testing::BuildPdf(book));

  ProcessResult run = box.Zelta({"run", "ToTOC", in, "-o", box.Path("toc.pdf"), "--json"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  nlohmann::json report = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(report.is_discarded()) << run.out;
  EXPECT_EQ(report["changes"]["pages"], 1);
  EXPECT_EQ(report["changes"]["links"], 6);  // a title and a number link per bookmark
  EXPECT_EQ(report["changes"]["made"], 0);

  run = box.Zelta({"run", "ToTOC", in, "-o", box.Path("toc2.pdf")});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("ToTOC: 1 page inserted, 6 links made"), std::string::npos) << run.err;

  // Links only: the outline stays as it was, the file does not.
  zelta::testing::TextPdfSpec printed;
  printed.pages.resize(3);
  printed.pages[0].lines = {{72, 700, {{"Setup . . . . 2", zelta::testing::kRegular, 10}}},
                            {72, 686, {{"Usage . . . . 3", zelta::testing::kRegular, 10}}}};
  const std::string contents = box.Write("printed.pdf", zelta::testing::BuildTextPdf(printed));
  run = box.Zelta({"run", "FromTOC", contents, "-o", box.Path("links.pdf"), "--select-text", "1",
                   "--set", "Flags=noBookmarks", "--json"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  report = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(report.is_discarded()) << run.out;
  EXPECT_EQ(report["changes"]["links"], 2);
  EXPECT_EQ(report["changes"]["pages"], 0);
  run = box.Zelta({"run", "FromTOC", contents, "-o", box.Path("links2.pdf"), "--select-text", "1",
                   "--set", "Flags=0x10"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("FromTOC: 2 links made"), std::string::npos) << run.err;
}

// Options that cannot be drawn are refused before anything is written; Width and Height
// without the paper type that reads them are named, not silently passed over.
TEST(TocReport, PageSizeAndIndentOptionsAreHeededOrRefused) {
  CliSandbox box;
  zelta::testing::PdfSpec book;
  book.pages.resize(2);
  book.outline = {Bookmark("One", 1)};
  const std::string in = box.Write("book.pdf", zelta::testing::BuildPdf(book));

  ProcessResult run = box.Zelta(
      {"run", "ToTOC", in, "-o", box.Path("a.pdf"), "--set", "Width=612", "--set", "Height=792"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_NE(run.err.find("Width and Height take effect only with PaperType 2"), std::string::npos)
      << run.err;
  run = box.Zelta({"run", "ToTOC", in, "-o", box.Path("b.pdf"), "--set", "Width=612", "--set",
                   "Height=792", "--set", "PaperType=custom"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(run.err.find("take effect only"), std::string::npos) << run.err;
  const ProcessResult size = box.Tool("pdfinfo", {"-f", "1", "-l", "1", box.Path("b.pdf")});
  EXPECT_NE(size.out.find("612 x 792 pts"), std::string::npos) << size.out;

  const std::string options =
      box.Write("indent.json", R"({"Levels":[{"Name":"Helvetica","Size":12,"Indent":-1e20}]})");
  run = box.Zelta({"run", "ToTOC", in, "-o", box.Path("c.pdf"), "--options", options});
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  EXPECT_NE(run.err.find("puts the text off the page"), std::string::npos) << run.err;
  EXPECT_EQ(box.Tool("test", {"-e", box.Path("c.pdf")}).status, 1);
}

// Every option of both operations is explained, every flag bit named, and the names work.
TEST(TocReport, OptionsAreExplainedAndFlagsNamed) {
  CliSandbox box;
  for (const char* op : {"FromTOC", "ToTOC"}) {
    const ProcessResult explain = box.Zelta({"options", op, "--explain"});
    ASSERT_TRUE(explain.Exited(0)) << explain.Describe();
    EXPECT_EQ(explain.out.find("bookmarksPlugin."), std::string::npos) << explain.out;
  }
  const ProcessResult explain = box.Zelta({"options", "FromTOC", "--explain"});
  for (const char* name : {"byIndent", "improveDest", "noBookmarks", "removeNumbers"})
    EXPECT_NE(explain.out.find(name), std::string::npos) << name;
  zelta::testing::TextPdfSpec printed;
  printed.pages.resize(2);
  printed.pages[0].lines = {{72, 700, {{"Setup . . . . 2", zelta::testing::kRegular, 10}}}};
  printed.pages[1].lines = {{72, 500, {{"Setup", zelta::testing::kBold, 14}}}};
  const std::string in = box.Write("printed.pdf", zelta::testing::BuildTextPdf(printed));
  const ProcessResult run =
      box.Zelta({"run", "FromTOC", in, "-o", box.Path("out.pdf"), "--select-text", "1", "--set",
                 "Flags=byIndent+improveDest", "--json"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(nlohmann::json::parse(run.out, nullptr, false)["changes"]["made"], 1) << run.out;
}

}  // namespace
}  // namespace zelta::cli_testing
