// Bookmarks from a printed table of contents, run in-process against the real host: what a
// selected contents page becomes, the links over its entries, undo, and the corpus manuals'
// own contents pages scored against their outlines.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <regex>

#include "platform/locale_text.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/operation_run.h"
#include "tests/harness/saved_pdf.h"
#include "toc/fromtoc_operation.h"
#include "toc/toc_title.h"
#include "zelta/pdf/host_document.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using namespace zelta::testing;

class FromTOCRun : public OperationRun {
 protected:
  HRESULT Run(const std::vector<std::string>& selection, int32_t flags = 0) {
    host_.SelectText(document_.Get(), selection);
    auto operation = Make<FromTOCOperation>();
    operation->Options()->SetInt(u"Flags", flags);
    return operation->Do(zelta::kDoNoProgress, 0);
  }
};

// A contents page (page 2) over six pages: a chapter in bold, two sections, one of them over
// two lines.
std::string Book(int rotate = 0) {
  TextPdfSpec layout;
  layout.pages.resize(6);
  layout.pages[1].rotate = rotate;
  layout.pages[1].lines = {{72, 700, {{"Contents", kBold, 18}}},
                           {72, 660, {{"Getting started . . . . . . 3", kBold, 12}}},
                           {90, 640, {{"Installing . . . . . . 4", kRegular, 10}}},
                           {90, 626, {{"Running the program on", kRegular, 10}}},
                           {90, 614, {{"other systems . . . . . 6", kRegular, 10}}}};
  return BuildTextPdf(layout);
}

TEST_F(FromTOCRun, EntriesBecomeNestedBookmarksAndLinksToTheirPages) {
  OpenBytes(Book());
  ASSERT_EQ(Run({"2:0,0,612,690"}, 0x200), zelta::S_OK);
  // Without a search the view opens at the top of each target page.
  EXPECT_EQ(OutlineRows(document_.Get()), nlohmann::json::parse(R"([[1, "Getting started", 3, 792],
      [2, "Installing", 4, 792], [2, "Running the program on other systems", 6, 792]])"));
  EXPECT_EQ(LinkTargets(Save(), 1), (std::vector<int>{2, 3, 5, 5}));
  ExpectOneUndoStep(u"bookmarksPlugin.op.GenerateBookmarks");
  ASSERT_EQ(History()->Undo(), zelta::S_OK);
  EXPECT_EQ(LinkTargets(Save(), 1), std::vector<int>{});
}

// The whole contents page selected: its heading is neither an entry nor a parent.
TEST_F(FromTOCRun, TheContentsHeadingIsNoEntry) {
  OpenBytes(Book());
  ASSERT_EQ(Run({"2"}, 0x200), zelta::S_OK);
  EXPECT_EQ(OutlineRows(document_.Get()), nlohmann::json::parse(R"([[1, "Getting started", 3, 792],
      [2, "Installing", 4, 792], [2, "Running the program on other systems", 6, 792]])"));
}

// Links made by a first run, with the titles found on their pages, give the bookmarks of a
// second run their destinations, and no second link is put over them.
TEST_F(FromTOCRun, ExistingLinksGiveTheDestinations) {
  TextPdfSpec layout;
  layout.pages.resize(4);
  layout.pages[0].lines = {{72, 700, {{"Setup . . . . 2", kRegular, 10}}},
                           {72, 686, {{"Usage . . . . 3", kRegular, 10}}}};
  layout.pages[1].lines = {{72, 500, {{"Setup", kBold, 14}}}};
  layout.pages[2].lines = {{72, 300, {{"Usage", kBold, 14}}}};
  OpenBytes(BuildTextPdf(layout));
  ASSERT_EQ(Run({"1"}, kFromTocNoBookmarks | kFromTocImproveDestinations), zelta::S_OK);
  ASSERT_EQ(Run({"1"}, kFromTocNoLinks), zelta::S_OK);
  const nlohmann::json rows = OutlineRows(document_.Get());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_GT(rows[0][3].get<double>(), 500);
  EXPECT_LT(rows[0][3].get<double>(), 540);
  EXPECT_GT(rows[1][3].get<double>(), 300);
  EXPECT_LT(rows[1][3].get<double>(), 340);
  ASSERT_EQ(Run({"1"}), zelta::S_OK);
  EXPECT_EQ(LinkTargets(Save(), 0), (std::vector<int>{1, 2}));
}

TEST_F(FromTOCRun, LinksOnlyOrBookmarksOnlyOrNothingSelected) {
  OpenBytes(Book());
  ASSERT_EQ(Run({"2:0,0,612,690"}, 0x10), zelta::S_OK);
  EXPECT_EQ(Now(), before_);
  EXPECT_EQ(LinkTargets(Save(), 1).size(), 4u);
  OpenBytes(Book());
  ASSERT_EQ(Run({"2:0,0,612,690"}, 0x20), zelta::S_OK);
  EXPECT_EQ(Now().size(), 3u);
  EXPECT_EQ(LinkTargets(Save(), 1), std::vector<int>{});
  OpenBytes(Book());
  EXPECT_EQ(Run({"1"}), zelta::S_FALSE);  // a page without text
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

// Contents that are hard to read give a sound result: a turned page reads as the upright
// one; 5,000 entries over 100 pages all become bookmarks with their links; a selection
// without a single number makes bookmarks that lead to the contents page itself.
TEST_F(FromTOCRun, TurnedLongAndNumberlessContents) {
  OpenBytes(Book());
  ASSERT_EQ(Run({"2:0,0,612,690"}, 0x200), zelta::S_OK);
  const nlohmann::json upright = OutlineRows(document_.Get());
  OpenBytes(Book(90));
  ASSERT_EQ(Run({"2:0,0,612,690"}, 0x200), zelta::S_OK);
  EXPECT_EQ(OutlineRows(document_.Get()), upright);

  TextPdfSpec layout;
  layout.pages.resize(200);
  for (int p = 0; p < 100; ++p)
    for (int l = 0; l < 50; ++l)
      layout.pages[p].lines.push_back(
          {72,
           760.0 - 14 * l,
           {{"Entry " + std::to_string(p * 50 + l) + " . . . " + std::to_string(101 + p), kRegular,
             10}}});
  OpenBytes(BuildTextPdf(layout));
  ASSERT_EQ(Run({"1-100"}), zelta::S_OK);
  EXPECT_EQ(Now().size(), 5000u);
  const std::string saved = Save();
  EXPECT_EQ(LinkTargets(saved, 99), std::vector<int>(50, 199));

  layout.pages.resize(2);
  layout.pages[0].lines = {{72, 700, {{"Preface", kRegular, 10}}},
                           {72, 680, {{"Notes on the text", kRegular, 12}}}};
  OpenBytes(BuildTextPdf(layout));
  ASSERT_EQ(Run({"1"}), zelta::S_OK);
  EXPECT_EQ(OutlineRows(document_.Get()), nlohmann::json::parse(R"([[1, "Preface", 1, 792],
      [1, "Notes on the text", 1, 792]])"));
}

// The corpus manuals' printed contents (whole pages, heading and folios included, default
// options) against their own outlines, section numbers ignored: the (title, page) pairs and, with
// the level folded into the page, the levels of the matched entries.
nlohmann::json WithLevels(nlohmann::json rows) {
  for (auto& row : rows)
    row = {row[0], row[1], std::to_string(row[2].get<int>()) + "/" + row[0].dump()};
  return rows;
}

// How many of the made entries whose title (without its section number) and page are in the
// truth open within 20 points of the truth's top.
double ShareNearTheTruth(const nlohmann::json& truth, const nlohmann::json& made) {
  auto key = [](const nlohmann::json& row) {
    std::u16string title = platform::Utf8ToUtf16(row[1].get<std::string>());
    TocTitle::RemovePrefixNumber(title);
    return std::make_pair(platform::Utf16ToUtf8(title), row[2].get<int>());
  };
  std::multimap<std::pair<std::string, int>, double> tops;
  for (const auto& row : truth) tops.emplace(key(row), row[3].get<double>());
  int matched = 0, near = 0;
  for (const auto& row : made) {
    auto at = tops.find(key(row));
    if (at == tops.end()) continue;
    ++matched;
    near += std::abs(at->second - row[3].get<double>()) <= 20;
    tops.erase(at);
  }
  return matched ? static_cast<double>(near) / matched : 0;
}

TEST(FromTOCCorpus, PrintedContentsGiveTheOutline) {
  const struct {
    const char* name;
    std::vector<std::string> selection;
  } manuals[] = {{"R-intro", {"3-6"}}, {"R-data", {"3-4"}}};
  for (const auto& manual : manuals) {
    CoreHost host;
    auto run = [&](int32_t flags, nlohmann::json* truth) {
      auto document =
          host.OpenBytes(ReadFile(std::string(ZELTA_CORPUS_DIR) + "/" + manual.name + ".pdf"));
      ASSERT_TRUE(document);
      *truth = OutlineRows(document.Get());
      RemoveOutline(document.Get());
      host.SelectText(document.Get(), manual.selection);
      auto operation = NewOperation<FromTOCOperation>(&host.Plugin());
      SetCabObjects(operation->Input().Get(), {document.Get()});
      operation->Options()->SetInt(u"Flags", flags);
      ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
      *truth = {*truth, OutlineRows(document.Get())};
    };
    // The manuals' contents pages have links of their own, which lead where the outline does;
    // without them the title is looked for on its page.
    nlohmann::json plain, improved;
    run(0, &plain);
    run(kFromTocImproveDestinations | kFromTocNoExistingLinks, &improved);
    const double f1 = OutlineF1(plain[0], plain[1], manual.name);
    EXPECT_GE(f1, 0.97) << manual.name;
    EXPECT_GE(OutlineF1(WithLevels(plain[0]), WithLevels(plain[1]), manual.name), 0.95 * f1)
        << manual.name;
    EXPECT_EQ(improved[1].size(), plain[1].size()) << manual.name;
    // No title keeps a leader run.
    const std::regex leaders(R"((\s*[._]){3,}\s*$)");
    for (const auto& row : plain[1])
      EXPECT_FALSE(std::regex_search(row[1].get<std::string>(), leaders)) << row[1];
    EXPECT_GE(ShareNearTheTruth(improved[0], improved[1]), 0.9) << manual.name;
  }
}

}  // namespace
}  // namespace bm::testing
