// Change Bookmark Case runs against the real host: sources, no-change results, cancel and
// undo.
#include <gtest/gtest.h>

#include "tests/harness/operation_run.h"
#include "tools/title/cbc_operation.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

constexpr int32_t kSilent = zelta::kDoNoProgress;

PdfSpec Book() {
  PdfSpec layout;
  OutlineSpec one = Mark("the lord of the rings", 0);
  one.children.push_back(Mark("a long-expected party", 0));
  one.children.push_back(Mark("1.2.3", 0));
  OutlineSpec two = Mark("THE TWO TOWERS", 0);
  two.children.push_back(Mark("the departure of boromir", 0));
  layout.outline = {one, two};
  return layout;
}

class ChangeCaseRun : public OperationRun {
 protected:
  // A fresh operation over the active document with these options.
  ComPtr<CBCOperation> Operation(int32_t flags, std::vector<std::u16string> excluded = {},
                                 std::vector<zelta::IUnknown*> bookmarks = {}) {
    auto operation = Make<CBCOperation>(bookmarks);
    operation->Options()->SetInt(u"Flags", flags);
    SetCabStrings(CabItem(operation->Options().Get(), u"ExcludedWords").Get(), excluded);
    return operation;
  }

  HRESULT RunCase(int32_t flags, int32_t doFlags = kSilent) {
    return Operation(flags)->Do(doFlags, 0);
  }
};

TEST_F(ChangeCaseRun, WholeDocumentIsOneUndoStep) {
  Open(Book());
  auto operation = Operation(kTitleCase);
  ASSERT_EQ(operation->Do(0, 0), zelta::S_OK);
  EXPECT_EQ(
      Titles(document_.Get()),
      (std::vector<std::u16string>{u"The Lord Of The Rings", u"A Long-Expected Party", u"1.2.3",
                                   u"The Two Towers", u"The Departure Of Boromir"}));
  EXPECT_FALSE(operation->HasProblems());
  EXPECT_EQ(CabObjects(operation->Output().Get()).size(), 4u);  // "1.2.3" did not change
  ExpectOneUndoStep(u"bookmarksPlugin.DlgChangeBookmarkCase");
}

TEST_F(ChangeCaseRun, NothingToChangeGivesOneAndNoUndoStep) {
  Open(Book());
  ASSERT_EQ(RunCase(kUpperCase), zelta::S_OK);
  ASSERT_EQ(UndoCount(document_.Get()), 1);
  EXPECT_EQ(RunCase(kUpperCase), zelta::S_FALSE);
  EXPECT_EQ(UndoCount(document_.Get()), 1);
}

TEST_F(ChangeCaseRun, ExcludedWordsAreSortedIntoTheOptions) {
  Open(Book());
  auto operation = Operation(kTitleCase | kApplyExcludedWords, {u"the", u"OF", u"The"});
  ASSERT_EQ(operation->Do(kSilent, 0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[0], u"the Lord of the Rings");
  EXPECT_EQ(Titles(document_.Get())[3], u"THE Two Towers");
  EXPECT_EQ(CabStrings(CabItem(operation->Options().Get(), u"ExcludedWords").Get()),
            (std::vector<std::u16string>{u"OF", u"the"}));
}

TEST_F(ChangeCaseRun, SelectedBookmarksWithAndWithoutSubLevels) {
  Open(Book());
  auto one = BookmarkAt(document_.Get(), {1});
  auto child = BookmarkAt(document_.Get(), {1, 1});
  // Selected with sub-levels: the parent covers its child, which is not done twice.
  ASSERT_EQ(
      Operation(kUpperCase | kCbcSourceSelected, {}, {child.Get(), one.Get()})->Do(kSilent, 0),
      zelta::S_OK);
  EXPECT_EQ(
      Titles(document_.Get()),
      (std::vector<std::u16string>{u"THE LORD OF THE RINGS", u"A LONG-EXPECTED PARTY", u"1.2.3",
                                   u"THE TWO TOWERS", u"the departure of boromir"}));
  // Without sub-levels only the bookmark itself.
  auto two = BookmarkAt(document_.Get(), {2});
  ASSERT_EQ(Operation(kLowerCase | kCbcSourceSelected | kCbcNoSubBookmarks, {}, {two.Get()})
                ->Do(kSilent, 0),
            zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[3], u"the two towers");
  EXPECT_EQ(Titles(document_.Get())[1], u"A LONG-EXPECTED PARTY");
}

TEST_F(ChangeCaseRun, SelectedSourceTakesTheDocumentSelection) {
  Open(Book());
  auto two = BookmarkAt(document_.Get(), {2});
  host_.SelectBookmarks(document_.Get(), {two.Get()});
  ASSERT_EQ(RunCase(kLowerCase | kCbcSourceSelected), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[3], u"the two towers");
  EXPECT_EQ(Titles(document_.Get())[0], u"the lord of the rings");

  // An empty selection is refused rather than taken as the whole document.
  host_.SelectBookmarks(document_.Get(), {});
  auto now = Titles(document_.Get());
  EXPECT_EQ(RunCase(kUpperCase | kCbcSourceSelected), zelta::E_INVALIDARG);
  EXPECT_EQ(Titles(document_.Get()), now);
}

TEST_F(ChangeCaseRun, DocumentSourceIgnoresTheNoSubBookmarksBit) {
  Open(Book());
  ASSERT_EQ(RunCase(kUpperCase | kCbcNoSubBookmarks), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get())[4], u"THE DEPARTURE OF BOROMIR");
}

TEST_F(ChangeCaseRun, CancelMidRunRestoresEveryTitle) {
  Open(Book());
  host_.CancelProgressAt(3);
  EXPECT_EQ(RunCase(kUpperCase, 0), zelta::E_CANCELLED);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(ChangeCaseRun, BookmarksOfAnotherDocumentAreRefused) {
  Open(Book());
  auto other = host_.Open(Book());
  auto foreign = BookmarkAt(other.Get(), {1});
  EXPECT_EQ(Operation(kUpperCase, {}, {foreign.Get()})->Do(kSilent, 0), zelta::E_INVALIDARG);
  EXPECT_EQ(Titles(document_.Get()), before_);
}

TEST_F(ChangeCaseRun, UndoCopesWithARemovedBookmark) {
  Open(Book());
  ASSERT_EQ(RunCase(kUpperCase), zelta::S_OK);
  auto two = BookmarkAt(document_.Get(), {2});
  ASSERT_EQ(two->Remove(), zelta::S_OK);
  EXPECT_EQ(History()->Undo(), zelta::S_OK);
  EXPECT_EQ(
      Titles(document_.Get()),
      (std::vector<std::u16string>{u"the lord of the rings", u"a long-expected party", u"1.2.3"}));
  EXPECT_EQ(TitleOf(two.Get()), u"THE TWO TOWERS");
}

}  // namespace
}  // namespace bm::testing
