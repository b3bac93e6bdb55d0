// Find and replace runs against the real host: sources, invalid patterns, huge titles, undo.
#include "tools/title/frt_operation.h"

#include <gtest/gtest.h>

#include "tests/harness/operation_run.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

constexpr int32_t kSilent = zelta::kDoNoProgress;

PdfSpec Manual() {
  PdfSpec layout;
  OutlineSpec one = Mark("1.2 Intro chapter", 0);
  one.children.push_back(Mark("Chapter notes", 0));
  OutlineSpec two = Mark("Appendix", 0);
  two.children.push_back(Mark("chapter list", 0));
  layout.outline = {one, two};
  return layout;
}

class FindReplaceRun : public OperationRun {
 protected:
  ComPtr<FRTOperation> Operation(int32_t flags, std::u16string find, std::u16string replace,
                                 std::vector<zelta::IUnknown*> bookmarks = {}) {
    auto operation = Make<FRTOperation>(bookmarks);
    auto options = operation->Options();
    options->SetInt(u"Flags", flags);
    SetCabStrings(CabItem(options.Get(), u"FindWords").Get(), {find, u"older"});
    SetCabStrings(CabItem(options.Get(), u"ReplaceWords").Get(), {replace});
    return operation;
  }
};

TEST_F(FindReplaceRun, LiteralOverTheWholeDocumentIsOneUndoStep) {
  Open(Manual());
  auto operation = Operation(0, u"chapter", u"Part");
  ASSERT_EQ(operation->Do(0, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (std::vector<std::u16string>{u"1.2 Intro Part", u"Part notes",
                                                                  u"Appendix", u"Part list"}));
  EXPECT_EQ(CabObjects(operation->Output().Get()).size(), 3u);
  ExpectOneUndoStep(u"bookmarksPlugin.DlgFindReplaceBookmarkText");
}

TEST_F(FindReplaceRun, RegularExpressionSwapsGroups) {
  Open(Manual());
  ASSERT_EQ(Operation(kFrtRegex, u"^(\\d+)\\.(\\d+)", u"$2.$1")->Do(kSilent, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[0], u"2.1 Intro chapter");
  // Without match case "CHAPTER" finds every spelling; whole word has no effect here.
  ASSERT_EQ(Operation(kFrtRegex | kFrtWholeWord, u"CHAPTER", u"Part")->Do(kSilent, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[1], u"Part notes");
}

TEST_F(FindReplaceRun, NothingFoundReportsNoChanges) {
  Open(Manual());
  EXPECT_EQ(Operation(0, u"absent", u"x")->Do(kSilent, 0), zelta::S_FALSE);
  EXPECT_EQ(Operation(0, u"", u"x")->Do(kSilent, 0), zelta::S_FALSE);
  EXPECT_EQ(Operation(kFrtMatchCase, u"CHAPTER", u"x")->Do(kSilent, 0), zelta::S_FALSE);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(FindReplaceRun, HugeTitleWithPathologicalPatternFailsAndRestoresTitles) {
  PdfSpec layout = Manual();
  layout.outline.push_back(Mark(std::string(100000, 'a'), 0));
  Open(layout);
  // The first titles change before the huge one is met; the failure restores them.
  auto operation = Operation(kFrtRegex, u"(a|b)*c|Intro", u"x");
  EXPECT_EQ(operation->Do(kSilent, 0), zelta::E_INVALIDARG);
  // The message names the title by its start only.
  EXPECT_EQ(operation->FailureDetail().rfind(
                u"the title \"" + std::u16string(80, u'a') + u"\u2026\": ", 0),
            0u);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
  // A simple pattern handles the same title.
  ASSERT_EQ(Operation(kFrtRegex | kFrtMatchCase, u"a{1000}", u"b")->Do(kSilent, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()).back(), std::u16string(100, u'b'));
}

TEST_F(FindReplaceRun, SelectedBookmarksWithAndWithoutChildren) {
  Open(Manual());
  auto one = BookmarkAt(document_.Get(), {1});
  ASSERT_EQ(Operation(kFrtSourceSelected, u"chapter", u"Part", {one.Get()})->Do(kSilent, 0),
            zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()),
            (std::vector<std::u16string>{u"1.2 Intro Part", u"Chapter notes", u"Appendix",
                                         u"chapter list"}));
  ASSERT_EQ(
      Operation(kFrtSourceSelected | kFrtIncludeSubBookmarks, u"chapter", u"Part", {one.Get()})
          ->Do(kSilent, 0),
      zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[1], u"Part notes");
  EXPECT_EQ(Titles(document_.Get())[3], u"chapter list");
  // Selected with nothing given and nothing selected is refused, not widened to the document.
  host_.SelectBookmarks(document_.Get(), {});
  EXPECT_EQ(Operation(kFrtSourceSelected, u"chapter", u"Part")->Do(kSilent, 0),
            zelta::E_INVALIDARG);
  EXPECT_EQ(Titles(document_.Get())[3], u"chapter list");
}

}  // namespace
}  // namespace bm::testing
