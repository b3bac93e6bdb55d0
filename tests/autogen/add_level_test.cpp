// The add-level variant and Style from selection against the real host: levels appended as
// the deepest, the style of selected headings, and the sample's demo options.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "autogen/agb_add_level_operation.h"
#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "autogen/style_from_selection.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "plugin/plugin_settings.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/core_host.h"
#include "zelta/app/cab/cab_json.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using V = std::vector<std::u16string>;

class AddLevel : public ::testing::Test {
 protected:
  ComPtr<zelta::ICabItem> Stored() {
    return CabItem(SettingsRoot(host_.Plugin()).Get(), u"AGBAddLevelLastUsedOptions");
  }
  ComPtr<zelta::ICabItem> LastLevels() {
    return CabItem(CabItem(SettingsRoot(host_.Plugin()).Get(), u"AGBLastUsedOptions").Get(),
                   u"Levels");
  }
  int32_t Count(zelta::ICabItem* item) {
    int32_t n = 0;
    item->GetCount(&n);
    return n;
  }

  CoreHost host_;
};

TEST_F(AddLevel, NewLevelIsAlwaysTheDeepest) {
  LevelOptions stored;
  stored.flags = kLevelMatchSize;
  stored.description.fontSize = 14;
  ASSERT_EQ(WriteLevel(Stored().Get(), stored), zelta::S_OK);

  auto first = NewOperation<AGBAddLevelOperation>(&host_.Plugin());
  first->LoadLastUsedOptions();
  ASSERT_EQ(first->Do(0, 0), zelta::S_OK);
  ASSERT_EQ(Count(LastLevels().Get()), 1);
  ComPtr<zelta::ICabItem> level;
  LastLevels()->GetItemAt(0, level.Put());
  EXPECT_EQ(CabInt(level.Get(), u"Index", 0), 1);

  for (int i = 0; i < 2; ++i) {
    auto next = NewOperation<AGBAddLevelOperation>(&host_.Plugin());
    next->LoadLastUsedOptions();
    ASSERT_EQ(next->Do(0, 0), zelta::S_OK);
  }
  auto fourth = NewOperation<AGBAddLevelOperation>(&host_.Plugin());
  fourth->LoadLastUsedOptions();
  fourth->Options()->SetText(u"PresetID", u"preset", -1);
  ASSERT_EQ(fourth->Do(0, 0), zelta::S_OK);
  ASSERT_EQ(Count(LastLevels().Get()), 4);
  LastLevels()->GetItemAt(3, level.Put());
  EXPECT_EQ(CabInt(level.Get(), u"Index", 0), 4);
  LevelOptions read;
  ASSERT_EQ(ReadLevel(level.Get(), HostColors(&host_.App()).Get(), &read, nullptr), zelta::S_OK);
  EXPECT_DOUBLE_EQ(read.description.fontSize, 14);
  EXPECT_EQ(CabText(CabItem(SettingsRoot(host_.Plugin()).Get(), u"AGBLastUsedOptions").Get(),
                    u"PresetID", u"x"),
            u"");
}

// A page with a 14-point and a 13.5-point heading in two fonts, and body text.
std::string TwoHeadings() {
  using namespace zelta::testing;
  TextPdfSpec layout;
  TextPageSpec page;
  TextLineSpec big{72, 700, {{"Big heading", kBold, 14, 0x336699}}};
  TextLineSpec small{72, 600, {{"Smaller heading", kItalic, 13.5}}};
  TextLineSpec body{72, 500, {{"body", kRegular, 10}}};
  page.lines = {big, small, body};
  layout.pages = {page};
  return BuildTextPdf(layout);
}

TEST_F(AddLevel, StyleFromTwoSelectedHeadings) {
  auto document = host_.OpenBytes(TwoHeadings());
  host_.SelectText(document.Get(), {"1:60,690,400,720", "1:60,590,400,620"});
  LevelOptions level;
  level.flags = kLevelMatchColor | kLevelMultiline;
  ASSERT_EQ(StyleFromSelection(&host_.App(), document.Get(), &level), zelta::S_OK);
  EXPECT_EQ(level.description.fontNames, (V{u"Helvetica-Bold", u"Helvetica-Oblique"}));
  EXPECT_NEAR(level.description.fontSize, 14, 1e-4);
  EXPECT_NEAR(level.description.fontTolerance, 0.6, 1e-4);
  EXPECT_EQ(level.description.color, 0xFF336699u);
  // Colour is stored but not matched; the other bits stay.
  EXPECT_EQ(level.flags, kLevelMatchSize | kLevelMatchFontNames | kLevelMultiline);
}

TEST_F(AddLevel, NoSelectionLeavesTheLevel) {
  auto document = host_.OpenBytes(TwoHeadings());
  LevelOptions level;
  level.description.fontSize = 9;
  EXPECT_EQ(StyleFromSelection(&host_.App(), document.Get(), &level), zelta::S_FALSE);
  host_.SelectText(document.Get(), {"1:0,0,10,10"});  // a corner without text
  EXPECT_EQ(StyleFromSelection(&host_.App(), document.Get(), &level), zelta::S_FALSE);
  EXPECT_EQ(level.description.fontSize, 9);
  EXPECT_EQ(level.flags, 0);
}

TEST_F(AddLevel, OperationGivesTheLevelOfTheSelection) {
  auto document = host_.OpenBytes(TwoHeadings());
  host_.SelectText(document.Get(), {"1:60,590,400,620"});
  auto operation = NewOperation<AGBAddLevelOperation>(&host_.Plugin());
  SetCabObjects(operation->Input().Get(), {document.Get()});
  ComPtr<zelta::IUnknown> object;
  ASSERT_EQ(operation->GetObject(AtomOf(u"selection.text"), object.Put()), zelta::S_OK);
  auto item = zelta::QueryAs<zelta::ICabItem>(object.Get());
  ASSERT_TRUE(item);
  LevelOptions level;
  ASSERT_EQ(ReadLevel(item.Get(), HostColors(&host_.App()).Get(), &level, nullptr), zelta::S_OK);
  EXPECT_EQ(level.description.fontNames, (V{u"Helvetica-Oblique"}));
  EXPECT_NEAR(level.description.fontSize, 13.5, 1e-4);
}

TEST(SampleOptions, DemoOutline) {
  CoreHost host;
  auto document =
      host.OpenBytes(zelta::testing::ReadFile(ZELTA_SOURCE_DIR "/samples/headings.pdf"));
  ASSERT_TRUE(document);
  auto operation = NewOperation<AGBOperation>(&host.Plugin());
  std::ifstream in(ZELTA_SOURCE_DIR "/samples/headings.options.json");
  std::string error;
  ASSERT_EQ(zelta::app::CabFromJson(operation->Options().Get(), nlohmann::json::parse(in), &error),
            zelta::S_OK);
  SetCabObjects(operation->Input().Get(), {document.Get()});
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document.Get()),
            (V{u"I. Getting started", u"I.1. Installing", u"Requirements", u"First run",
               u"I.2. Configuration", u"II. Generating bookmarks from the text of the pages",
               u"II.1. Levels", u"Matching by font", u"Matching by size",
               u"II.2. Using zelta from the command line", u"II.3. Formatting titles",
               u"III. Reference", u"III.1. Options", u"III.2. Limits"}));
}

}  // namespace
}  // namespace bm::testing
