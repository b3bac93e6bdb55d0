// Add text runs against the real host: levels, sources, templates, tidying, undo.
#include "tools/title/atb_operation.h"

#include <gtest/gtest.h>

#include "tests/harness/operation_run.h"
#include "tools/title/collapse_blanks.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

constexpr int32_t kSilent = zelta::kDoNoProgress;

// A (p1) > [A1 (p2) > [A1a (p3)], A2], B (p4)
PdfSpec Tree() {
  PdfSpec layout;
  layout.pages.resize(4);
  OutlineSpec a1 = Mark("A1", 1);
  a1.children.push_back(Mark("A1a", 2));
  OutlineSpec a = Mark("A", 0);
  a.children = {a1, Mark("A2")};
  layout.outline = {a, Mark("B", 3)};
  return layout;
}

class AddTextRun : public OperationRun {
 protected:
  void SetUp() override { Open(Tree()); }
  zelta::HRESULT Run(int32_t flags, std::u16string prefix, std::u16string suffix,
                     int32_t startLevel = 1, std::vector<zelta::IUnknown*> bookmarks = {},
                     int32_t doFlags = kSilent) {
    auto operation = Make<ATBOperation>(bookmarks);
    auto options = operation->Options();
    options->SetInt(u"Flags", flags);
    options->SetInt(u"StartLevel", startLevel);
    options->SetText(u"Prefix", prefix.c_str(), -1);
    options->SetText(u"Suffix", suffix.c_str(), -1);
    return operation->Do(doFlags, 0);
  }
};

TEST_F(AddTextRun, MacrosExpandPerBookmarkAndPlainTextGoesInAsEntered) {
  ASSERT_EQ(Run(0, u"%[HierIndex] ", u" (p. %[Page])", 1, {}, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"1 A (p. 1)", u"1.1 A1 (p. 2)", u"1.1.1 A1a (p. 3)",
                                            u"1.2 A2 (p. )", u"2 B (p. 4)"}));
  ExpectOneUndoStep(u"bookmarksPlugin.DlgAddTextToBookmark");
  ASSERT_EQ(History()->Undo(), zelta::S_OK);
  // Without a known macro the text is literal, "%" included.
  ASSERT_EQ(Run(0, u"", u" 100%"), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[0], u"A 100%");
}

TEST_F(AddTextRun, OneLevelWithAndWithoutTheLevelsBelow) {
  ASSERT_EQ(Run(kAtbOneLevel, u"*", u"", 2), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"A", u"*A1", u"A1a", u"*A2", u"B"}));
  ASSERT_EQ(Run(kAtbOneLevel | kAtbIncludeSubLevels, u"+", u"", 2), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"A", u"+*A1", u"+A1a", u"+*A2", u"B"}));
  // A level nobody has: nothing to do.
  EXPECT_EQ(Run(kAtbOneLevel, u"!", u"", 9), zelta::S_FALSE);
  // Level 0 or below means the top level.
  ASSERT_EQ(Run(kAtbOneLevel, u"^", u"", 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[0], u"^A");
  EXPECT_EQ(Titles(document_.Get())[1], u"+*A1");
}

TEST_F(AddTextRun, SelectedBookmarksIgnoreTheLevelSettings) {
  auto a1 = BookmarkAt(document_.Get(), {1, 1});
  ASSERT_EQ(Run(kAtbSourceSelected | kAtbOneLevel, u"%[Level]:", u"", 3, {a1.Get()}), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"A", u"2:A1", u"A1a", u"A2", u"B"}));
  ASSERT_EQ(Run(kAtbSourceSelected | kAtbIncludeSubLevels, u"", u".", 1, {a1.Get()}), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"A", u"2:A1.", u"A1a.", u"A2", u"B"}));
  // Selected with nothing selected: nothing to do.
  host_.SelectBookmarks(document_.Get(), {});
  EXPECT_EQ(Run(kAtbSourceSelected, u"x", u""), zelta::S_FALSE);
}

TEST_F(AddTextRun, SpacesAreTidiedOnlyWhenSomethingIsAdded) {
  PdfSpec layout;
  layout.outline = {Mark("  Intro  to\tPDF "), Mark("Same")};
  Open(layout);
  EXPECT_EQ(Run(kAtbRemoveSpaces, u"", u""), zelta::S_FALSE);
  EXPECT_EQ(Titles(document_.Get())[0], u"  Intro  to\tPDF ");
  ASSERT_EQ(Run(kAtbRemoveSpaces, u"", u"!"), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Texts{u"Intro to PDF!", u"Same!"}));
  // A suffix the title already ends with is added again.
  ASSERT_EQ(Run(0, u"", u"!"), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[1], u"Same!!");
}

TEST(RemoveExcessiveSpaces, BlanksOnlyAreCollapsed) {
  EXPECT_EQ(RemoveExcessiveSpaces(u"  Intro  to\tPDF "), u"Intro to PDF");
  EXPECT_EQ(RemoveExcessiveSpaces(u"\r\n"), u"");
  EXPECT_EQ(RemoveExcessiveSpaces(u"a\u00A0\u00A0b"), u"a\u00A0\u00A0b");  // no-break spaces stay
  EXPECT_EQ(RemoveExcessiveSpaces(u"one"), u"one");
}

}  // namespace
}  // namespace bm::testing
