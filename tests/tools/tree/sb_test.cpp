// Sort Bookmarks against the real host: the alphabetical and the by-place orders, the level
// choices, undo, cancel and the no-change result; and the pure order functions.
#include <gtest/gtest.h>

#include "tests/harness/operation_run.h"
#include "tools/tree/sb_operation.h"
#include "tools/tree/sort_order.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;
using Titles16 = std::vector<std::u16string>;

OutlineSpec Parent(std::string title, std::vector<OutlineSpec> children) {
  OutlineSpec layout = Mark(std::move(title), 0);
  layout.children = std::move(children);
  return layout;
}

class Sorting : public OperationRun {
 protected:
  HRESULT Sort(int32_t flags, int32_t level = 1, int32_t doFlags = zelta::kDoNoProgress) {
    auto operation = Make<SBOperation>();
    operation->Options()->SetInt(u"Flags", flags);
    operation->Options()->SetInt(u"Level", level);
    return operation->Do(doFlags, 0);
  }

  // Gives the bookmark at path an XYZ destination at (x, y) on page.
  void Aim(std::vector<int> path, int32_t page, double x, double y) {
    auto bookmark = BookmarkAt(document_.Get(), path);
    ASSERT_TRUE(bookmark);
    ComPtr<zelta::IHostActionList> actions;
    ASSERT_EQ(bookmark->GetActions(actions.Put()), zelta::S_OK);
    ComPtr<zelta::IHostAction> action;
    ASSERT_EQ(actions->GetItem(0, action.Put()), zelta::S_OK);
    zelta::PageDestination dest;
    dest.page = page;
    dest.fitType = zelta::kFitXYZ;
    dest.flags = 0x4;  // zoom left open
    dest.values[0] = x;
    dest.values[1] = y;
    ASSERT_EQ(action->SetDestination(&dest), zelta::S_OK);
    ASSERT_EQ(bookmark->SetActions(actions.Get()), zelta::S_OK);
  }
};

TEST_F(Sorting, AlphabeticalIgnoringCasePutsTheLaterEqualTitleFirst) {
  PdfSpec layout;
  layout.outline = {Mark("b", 0), Mark("A", 0), Mark("a", 0)};
  Open(layout);
  ASSERT_EQ(Sort(kSbAlphabetical | kSbIgnoreCase), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Titles16{u"a", u"A", u"b"}));
  ASSERT_EQ(Sort(kSbAlphabetical | kSbIgnoreCase | kSbDescending), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Titles16{u"b", u"A", u"a"}));
}

TEST_F(Sorting, AlphabeticalFollowsCollationNotCodeOrder) {
  PdfSpec layout;
  layout.outline = {Mark("b", 0), Mark("B", 0), Mark("\xC3\xA9t\xC3\xA9", 0), Mark("a", 0),
                    Mark("f", 0)};
  Open(layout);
  ASSERT_EQ(Sort(kSbAlphabetical), zelta::S_OK);
  // By character codes "B" would come first and "été" last.
  EXPECT_EQ(Titles(document_.Get()), (Titles16{u"a", u"b", u"B", u"\u00E9t\u00E9", u"f"}));
}

TEST_F(Sorting, ByPlaceOrdersPageThenTopToBottomThenLeftToRight) {
  PdfSpec layout;
  layout.pages.resize(3);
  layout.outline = {Mark("page 3", 2), Mark("low", 0), Mark("right", 0), Mark("no target"),
                    Mark("left", 0)};
  Open(layout);
  Aim({2}, 0, 100, 100);
  Aim({3}, 0, 300, 700);
  Aim({5}, 0, 100, 700);
  ASSERT_EQ(Sort(0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()),
            (Titles16{u"no target", u"left", u"right", u"low", u"page 3"}));
  ASSERT_EQ(Sort(kSbDescending), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()),
            (Titles16{u"page 3", u"low", u"right", u"left", u"no target"}));
}

TEST_F(Sorting, ByPlaceSeesPagesAsTheyAreTurned) {
  // On a page turned a quarter clockwise the page's left edge is at the top of the view, so
  // the point further left on the page comes first, whatever its height.
  PdfSpec layout;
  layout.pages = {Page(612, 792, 90)};
  layout.outline = {Mark("right", 0), Mark("left", 0)};
  Open(layout);
  Aim({1}, 0, 500, 700);
  Aim({2}, 0, 100, 100);
  ASSERT_EQ(Sort(0), zelta::S_OK);
  EXPECT_EQ(Titles(document_.Get()), (Titles16{u"left", u"right"}));
}

PdfSpec Levels() {
  PdfSpec layout;
  layout.outline = {Parent("Z", {Mark("c", 0), Mark("b", 0), Mark("a", 0)}),
                    Parent("A", {Mark("z", 0), Parent("y", {Mark("2", 0), Mark("1", 0)})})};
  return layout;
}

// One level alone, with the levels below it, or (without the one-level bit) every level
// whatever Level says.
TEST_F(Sorting, LevelChoices) {
  const struct {
    int32_t flags, level;
    Titles16 expected;
  } cases[] = {
      {kSbAlphabetical | kSbOneLevel, 2, {u"Z", u"a", u"b", u"c", u"A", u"y", u"2", u"1", u"z"}},
      {kSbAlphabetical | kSbOneLevel | kSbWithLevelsBelow,
       2,
       {u"Z", u"a", u"b", u"c", u"A", u"y", u"1", u"2", u"z"}},
      {kSbAlphabetical | kSbOneLevel, 3, {u"Z", u"c", u"b", u"a", u"A", u"z", u"y", u"1", u"2"}},
      {kSbAlphabetical, 3, {u"A", u"y", u"1", u"2", u"z", u"Z", u"a", u"b", u"c"}},
  };
  for (const auto& c : cases) {
    Open(Levels());
    ASSERT_EQ(Sort(c.flags, c.level), zelta::S_OK) << c.flags << " level " << c.level;
    EXPECT_EQ(Titles(document_.Get()), c.expected) << c.flags << " level " << c.level;
  }
}

TEST_F(Sorting, OneUndoStepRestoresTheOrder) {
  Open(Levels());
  ASSERT_EQ(Sort(kSbAlphabetical), zelta::S_OK);
  ExpectOneUndoStep(u"bookmarksPlugin.DlgSortBookmarks");
}

TEST_F(Sorting, SortedTreeIsNoChange) {
  PdfSpec layout;
  layout.outline = {Parent("a", {Mark("only", 0)}), Mark("b", 0)};
  Open(layout);
  EXPECT_EQ(Sort(kSbAlphabetical), zelta::S_FALSE);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
  Open(PdfSpec{});
  EXPECT_EQ(Sort(kSbAlphabetical), zelta::S_FALSE);
}

TEST_F(Sorting, CancelPutsEverythingBack) {
  Open(Levels());
  host_.CancelProgressAt(6);
  EXPECT_EQ(Sort(kSbAlphabetical, 1, 0), zelta::E_CANCELLED);
  EXPECT_EQ(Titles(document_.Get()), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST(SortOrder, InsertPositionPlacesEqualKeysInFront) {
  auto compare = [](int a, int b) { return a < b ? -1 : a > b ? 1 : 0; };
  std::vector<int> sorted;
  for (int key : {5, 1, 4, 1, 3, 9, 2, 6, 5, 3, 5, 0})
    sorted.insert(
        sorted.begin() + static_cast<std::ptrdiff_t>(InsertPosition(sorted, key, compare)), key);
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
  EXPECT_EQ(sorted.size(), 12u);
  // Equal keys: the later one goes in front (tagged pairs show who is who).
  using Tagged = std::pair<int, char>;
  auto byKey = [](const Tagged& a, const Tagged& b) {
    return a.first < b.first ? -1 : a.first > b.first ? 1 : 0;
  };
  std::vector<Tagged> tagged;
  for (Tagged item : {Tagged{2, 'a'}, Tagged{1, 'b'}, Tagged{2, 'c'}})
    tagged.insert(tagged.begin() + static_cast<std::ptrdiff_t>(InsertPosition(tagged, item, byKey)),
                  item);
  EXPECT_EQ(tagged, (std::vector<Tagged>{{1, 'b'}, {2, 'c'}, {2, 'a'}}));
}

TEST(SortOrder, PlacesCompareWithinAMillionth) {
  PlaceKey high{0, {10, 700}}, low{0, {10, 100}}, right{0, {20, 700}};
  EXPECT_LT(ComparePlaces(high, low), 0);
  EXPECT_GT(ComparePlaces(low, high), 0);
  EXPECT_LT(ComparePlaces(high, right), 0);
  EXPECT_EQ(ComparePlaces(high, PlaceKey{0, {10 + 5e-7, 700 - 5e-7}}), 0);
  EXPECT_LT(ComparePlaces(PlaceKey{}, high), 0);  // no target page first
  EXPECT_EQ(ComparePlaces(PlaceKey{-1, {0, 5}}, PlaceKey{-1, {9, 0}}), 0);
  EXPECT_LT(ComparePlaces(low, PlaceKey{1, {0, 800}}), 0);
}

}  // namespace
}  // namespace bm::testing
