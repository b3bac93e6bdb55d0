// Generation runs against the real host on PDFs whose text the tests write: placing by
// level, destinations and appearance, undo, cancel, failures, page ranges and odd pages.
#include <gtest/gtest.h>

#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "autogen/title_rules.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/operation_run.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::StdFont;
using zelta::testing::TextLineSpec;
using zelta::testing::TextPageSpec;
using zelta::testing::TextPdfSpec;
using V = std::vector<std::u16string>;

TextLineSpec Line(double y, std::string text, StdFont font, double size, uint32_t rgb = 0) {
  TextLineSpec line;
  line.y = y;
  line.runs.push_back({std::move(text), font, size, rgb});
  return line;
}

// Three pages: a chapter heading (bold 18) and two sections (bold 14) among body text.
TextPdfSpec Book() {
  using namespace zelta::testing;
  TextPdfSpec layout;
  for (int p = 1; p <= 3; ++p) {
    TextPageSpec page;
    page.lines.push_back(Line(720, "Chapter " + std::to_string(p), kBold, 18));
    page.lines.push_back(Line(690, "Some body text on page " + std::to_string(p), kRegular, 10));
    page.lines.push_back(Line(660, "Section " + std::to_string(p) + ".1", kBold, 14));
    page.lines.push_back(Line(640, "More body text.", kRegular, 10));
    page.lines.push_back(Line(600, "Section " + std::to_string(p) + ".2", kBold, 14, 0xCC0000));
    layout.pages.push_back(page);
  }
  return layout;
}

LevelOptions Level(int32_t index, double size, const char* font) {
  LevelOptions level;
  level.index = index;
  level.flags = kLevelMatchSize | kLevelMatchFontNames;
  level.description.fontSize = size;
  level.description.fontNames = {U16(font)};
  return level;
}

class GenerationRun : public OperationRun {
 protected:
  ComPtr<AGBOperation> Operation(const std::vector<LevelOptions>& levels, int32_t flags = 0) {
    auto operation = Make<AGBOperation>();
    auto options = operation->Options();
    auto array = CabItem(options.Get(), u"Levels");
    for (const auto& level : levels) {
      ComPtr<zelta::ICabItem> item;
      EXPECT_EQ(array->Insert(-1, item.Put()), zelta::S_OK);
      WriteLevel(item.Get(), level);
    }
    options->SetInt(u"Flags", flags);
    return operation;
  }
};

TEST_F(GenerationRun, BuildsTheHierarchyAsOneUndoStep) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  auto operation = Operation({Level(1, 18, "Helvetica-Bold"), Level(2, 14, "Helvetica-Bold")});
  ASSERT_EQ(operation->Do(0, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()),
            (V{u"Chapter 1", u"Section 1.1", u"Section 1.2", u"Chapter 2", u"Section 2.1",
               u"Section 2.2", u"Chapter 3", u"Section 3.1", u"Section 3.2"}));
  EXPECT_EQ(CabObjects(operation->Output().Get()).size(), 3u);  // the top-level bookmarks made

  // The destination is at the heading's first character on its page.
  auto section = BookmarkAt(document_.Get(), {2, 1});
  ASSERT_TRUE(section);
  ComPtr<zelta::IHostActionList> actions;
  ASSERT_EQ(section->GetActions(actions.Put()), zelta::S_OK);
  ComPtr<zelta::IHostAction> action;
  ASSERT_EQ(actions->GetItem(0, action.Put()), zelta::S_OK);
  zelta::PageDestination dest;
  ASSERT_EQ(action->GetDestination(&dest), zelta::S_OK);
  EXPECT_EQ(dest.page, 1);
  EXPECT_EQ(dest.fitType, zelta::kFitXYZ);
  EXPECT_NEAR(dest.values[0], 72, 1.0);
  EXPECT_GT(dest.values[1], 660);
  EXPECT_LT(dest.values[1], 680);
  ExpectOneUndoStep(u"bookmarksPlugin.op.GenerateBookmarks");
}

TEST_F(GenerationRun, AppearanceOfTheLevel) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  LevelOptions chapter = Level(1, 18, "Helvetica-Bold");
  chapter.appearance.style = 3;
  chapter.appearance.color = 0xFF0000FFu;
  chapter.appearance.expand = true;
  ASSERT_EQ(Operation({chapter, Level(2, 14, "Helvetica-Bold")})->Do(zelta::kDoNoProgress, 0),
            zelta::S_OK);
  auto first = BookmarkAt(document_.Get(), {1});
  int32_t style = 0;
  uint32_t color = 0;
  bool open = false;
  first->GetStyle(&style);
  first->GetColor(&color);
  first->GetOpen(&open);
  EXPECT_EQ(style, 3);
  EXPECT_EQ(color & 0xFFFFFFu, 0x0000FFu);
  EXPECT_TRUE(open);
}

TEST_F(GenerationRun, ColourSeparatesLevels) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  LevelOptions red = Level(1, 14, "Helvetica-Bold");
  red.flags |= kLevelMatchColor;
  red.description.color = 0xFFCC0000u;
  ASSERT_EQ(Operation({red})->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (V{u"Section 1.2", u"Section 2.2", u"Section 3.2"}));
}

TEST_F(GenerationRun, DeeperFirstTitleGetsAnUntitledParent) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  LevelOptions sections = Level(2, 14, "Helvetica-Bold");
  auto operation = Operation({sections});
  operation->Options()->SetInt(u"Flags", 0);
  CabItem(operation->Options().Get(), u"PagesRange")->SetInt(u"Type", 1);
  CabItem(operation->Options().Get(), u"PagesRange")->SetText(u"Text", u"2", 1);
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (V{u"", u"Section 2.1", u"Section 2.2"}));
}

TEST_F(GenerationRun, ExistingBookmarksStayAndNewOnesFollow) {
  zelta::testing::PdfSpec layout;
  layout.pages = {Page(612, 792), Page(612, 792), Page(612, 792), Page(612, 792), Page(612, 792)};
  for (size_t i = 0; i < layout.pages.size(); ++i)
    layout.pages[i].text = "Page heading " + std::to_string(i + 1);
  layout.outline = {Mark("Existing", 0)};
  Open(layout);
  LevelOptions level;
  level.index = 1;
  level.flags = kLevelMatchSize;
  ASSERT_EQ(Operation({level})->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (V{u"Existing", u"Page heading 1", u"Page heading 2",
                                        u"Page heading 3", u"Page heading 4", u"Page heading 5"}));
}

TEST_F(GenerationRun, CancelOnTheFifthPageLeavesTheTreeAsItWas) {
  zelta::testing::PdfSpec layout;
  layout.pages.assign(6, Page(612, 792));
  for (size_t i = 0; i < layout.pages.size(); ++i)
    layout.pages[i].text = "Heading " + std::to_string(i + 1);
  layout.outline = {Mark("Existing", 0)};
  Open(layout);
  host_.CancelProgressAt(4);
  LevelOptions level;
  level.index = 1;
  level.flags = kLevelMatchSize;
  EXPECT_EQ(Operation({level})->Do(0, 0), zelta::E_CANCELLED);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(GenerationRun, InvalidPatternsFailWithoutChange) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  LevelOptions badSearch = Level(1, 18, "Helvetica-Bold");
  badSearch.format.flags = kFormatReplace;
  badSearch.format.searchPattern.assign(1, u'[');
  EXPECT_EQ(Operation({badSearch})->Do(zelta::kDoNoProgress, 0), zelta::E_INVALIDARG);

  auto stops = Operation({Level(1, 18, "Helvetica-Bold")}, kAgbStopWords);
  auto data = CabItem(stops->Options().Get(), u"StopWordsData");
  data->SetInt(u"StopWordsFlags", kStopRegex);
  SetCabStrings(CabItem(data.Get(), u"StopWords").Get(), {u"*x"});
  EXPECT_EQ(stops->Do(zelta::kDoNoProgress, 0), zelta::E_INVALIDARG);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(GenerationRun, BadPageRangeAndBadColourNameTheInput) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  auto operation = Operation({Level(1, 18, "Helvetica-Bold")});
  auto range = CabItem(operation->Options().Get(), u"PagesRange");
  range->SetInt(u"Type", 1);
  range->SetText(u"Text", u"2-9", 3);
  EXPECT_LT(operation->Do(zelta::kDoNoProgress, 0), 0);
  EXPECT_NE(operation->FailureDetail().find(u"PagesRange"), std::u16string::npos);

  auto colour = Operation({Level(1, 18, "Helvetica-Bold")});
  ComPtr<zelta::ICabItem> level;
  CabItem(colour->Options().Get(), u"Levels")->GetItemAt(0, level.Put());
  CabItem(CabItem(level.Get(), u"Appearance").Get(), u"Color");
  CabItem(level.Get(), u"Appearance")->SetText(u"Color", u"rgbd(1,2)", -1);
  EXPECT_EQ(colour->Do(zelta::kDoNoProgress, 0), zelta::E_INVALIDARG);
  EXPECT_NE(colour->FailureDetail().find(u"rgbd(1,2)"), std::u16string::npos);
  EXPECT_EQ(Titles(document_.Get()), before_);
}

TEST_F(GenerationRun, LevelsOutsideTheLimitsFailBeforeAnyChange) {
  OpenBytes(zelta::testing::BuildTextPdf(Book()));
  LevelOptions deep = Level(300, 18, "Helvetica-Bold");
  auto operation = Operation({Level(1, 18, "Helvetica-Bold"), deep});
  EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::E_INVALIDARG);
  EXPECT_NE(operation->FailureDetail().find(u"Index 300"), std::u16string::npos);
  LevelOptions fit = Level(1, 18, "Helvetica-Bold");
  fit.appearance.destType = 9;
  EXPECT_EQ(Operation({fit})->Do(zelta::kDoNoProgress, 0), zelta::E_INVALIDARG);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(GenerationRun, OddPages) {
  using namespace zelta::testing;
  TextPdfSpec layout;
  TextPageSpec blank;
  TextPageSpec image;
  image.image = true;
  TextPageSpec rotated;
  rotated.rotate = 90;
  rotated.lines.push_back(Line(720, "Rotated Heading", kBold, 18));
  TextPageSpec vertical;
  TextLineSpec up = Line(300, "Vertical Heading", kBold, 18);
  up.x = 300;
  up.vertical = true;
  vertical.lines.push_back(up);
  layout.pages = {blank, image, rotated, vertical};
  OpenBytes(BuildTextPdf(layout));
  ASSERT_EQ(Operation({Level(1, 18, "Helvetica-Bold")})->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  auto titles = Titles(document_.Get());
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0], u"Rotated Heading");
  EXPECT_EQ(titles[1], u"Vertical Heading");
}

}  // namespace
}  // namespace bm::testing
