// Choosing and walking bookmarks, and where a bookmark's destination leads, on real documents.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "framework/bookmark_source.h"
#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "tests/harness/core_host.h"
#include "tests/zelta/app/fakes.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// Three top-level bookmarks "A".."C", each with two children "A1", "A2", ...
PdfSpec ThreeByTwo() {
  PdfSpec layout;
  layout.pages.resize(3);
  for (int i = 0; i < 3; ++i) {
    std::string name(1, static_cast<char>('A' + i));
    OutlineSpec top = Mark(name, i);
    top.children.push_back(Mark(name + "1", i));
    top.children.push_back(Mark(name + "2", i));
    layout.outline.push_back(top);
  }
  return layout;
}

ComPtr<zelta::IHostBookmark> Root(zelta::IHostDocument* document) {
  ComPtr<zelta::IHostBookmark> root;
  document->GetOutlineRoot(root.Put());
  return root;
}

// A host with ThreeByTwo() open.
class ThreeByTwoTest : public ::testing::Test {
 protected:
  ComPtr<zelta::IHostBookmark> At(std::vector<int> path) {
    return BookmarkAt(document_.Get(), std::move(path));
  }
  CoreHost host_;
  ComPtr<zelta::IHostDocument> document_ = host_.Open(ThreeByTwo());
};
using Traversal = ThreeByTwoTest;
using BookmarkSource = ThreeByTwoTest;

std::vector<std::u16string> ListTitles(const BookmarkList& list) {
  std::vector<std::u16string> titles;
  for (const auto& bookmark : list) titles.push_back(TitleOf(bookmark.Get()));
  return titles;
}

TEST_F(Traversal, CountBookmarksByStartLevel) {
  auto root = Root(document_.Get());
  EXPECT_EQ(CountBookmarks(root.Get(), -1, 0, false), 9u);
  EXPECT_EQ(CountBookmarks(root.Get(), 1, 0, false), 3u);
  EXPECT_EQ(CountBookmarks(root.Get(), 2, 0, false), 6u);
  EXPECT_EQ(CountBookmarks(root.Get(), 1, 0, true), 9u);
  EXPECT_EQ(CountBookmarks(root.Get(), 2, 0, true), 6u);
  EXPECT_EQ(CountBookmarks(root.Get(), 3, 0, true), 0u);
  // Below one bookmark, and from a bookmark already at the start level.
  auto b = BookmarkAt(document_.Get(), {2});
  EXPECT_EQ(CountBookmarks(b.Get(), -1, 1, true), 2u);
  EXPECT_EQ(CountBookmarks(b.Get(), 1, 1, false), 0u);
  EXPECT_EQ(CountBookmarks(nullptr, -1, 0, true), 0u);
}

TEST_F(Traversal, WalkVisitsParentsBeforeChildrenInDocumentOrder) {
  std::vector<std::pair<std::u16string, int32_t>> seen;
  WalkBookmarks(Root(document_.Get()).Get(), 0, false, [&](zelta::IHostBookmark* b, int32_t level) {
    seen.emplace_back(TitleOf(b), level);
    return TitleOf(b) == u"B" ? zelta::S_FALSE : zelta::S_OK;  // skip B's children
  });
  std::vector<std::pair<std::u16string, int32_t>> expected = {
      {u"A", 1}, {u"A1", 2}, {u"A2", 2}, {u"B", 1}, {u"C", 1}, {u"C1", 2}, {u"C2", 2}};
  EXPECT_EQ(seen, expected);

  // From one bookmark with itself: its subtree only, never its siblings.
  std::vector<std::u16string> subtree;
  WalkBookmarks(BookmarkAt(document_.Get(), {2}).Get(), 1, true,
                [&](zelta::IHostBookmark* b, int32_t) {
                  subtree.push_back(TitleOf(b));
                  return zelta::S_OK;
                });
  EXPECT_EQ(subtree, (std::vector<std::u16string>{u"B", u"B1", u"B2"}));

  // A failure ends the walk and comes back.
  int visits = 0;
  EXPECT_EQ(WalkBookmarks(Root(document_.Get()).Get(), 0, false,
                          [&](zelta::IHostBookmark*, int32_t) {
                            return ++visits == 2 ? zelta::E_CANCELLED : zelta::S_OK;
                          }),
            zelta::E_CANCELLED);
  EXPECT_EQ(visits, 2);
}

TEST_F(Traversal, DeepChainAndWideLevelWorkWithoutRecursion) {
  auto deep = host_.OpenBytes(zelta::testing::DeepOutlinePdf(10000));
  auto root = Root(deep.Get());
  EXPECT_EQ(CountBookmarks(root.Get(), -1, 0, true), 10000u);
  int32_t deepest = 0;
  WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark*, int32_t level) {
    deepest = std::max(deepest, level);
    return zelta::S_OK;
  });
  EXPECT_EQ(deepest, 10000);
  EXPECT_EQ(CountBookmarks(root.Get(), 9999, 0, false), 1u);

  auto wide = host_.OpenBytes(zelta::testing::WideOutlinePdf(100000));
  EXPECT_EQ(CountBookmarks(Root(wide.Get()).Get(), -1, 0, true), 100000u);
}

// A bookmark whose first child and next sibling are whatever the test links in, loops too.
class LinkedBookmark : public zelta::app::testing::FakeBookmark {
 public:
  LinkedBookmark() : FakeBookmark(nullptr) {}
  zelta::IHostBookmark* child = nullptr;
  zelta::IHostBookmark* next = nullptr;
  zelta::HRESULT GetFirstChild(zelta::IHostBookmark** out) override { return Hand(child, out); }
  zelta::HRESULT GetNextSibling(zelta::IHostBookmark** out) override { return Hand(next, out); }

 private:
  static zelta::HRESULT Hand(zelta::IHostBookmark* bookmark, zelta::IHostBookmark** out) {
    *out = bookmark;
    if (!bookmark) return zelta::S_FALSE;
    bookmark->AddRef();
    return zelta::S_OK;
  }
};

TEST(TraversalLoops, ABookmarkMetAgainEndsItsChainAndEachIsVisitedOnce) {
  // top > a, b, c where c's next sibling is a again and b's first child is top; then enough
  // bookmarks under a that the set of those met grows several times.
  std::vector<ComPtr<LinkedBookmark>> made;
  auto make = [&] { return made.emplace_back(zelta::MakeCom<LinkedBookmark>()).Get(); };
  LinkedBookmark *top = make(), *a = make(), *b = make(), *c = make();
  top->child = a;
  a->next = b;
  b->next = c;
  c->next = a;
  b->child = top;
  LinkedBookmark* last = nullptr;
  for (int i = 0; i < 1000; ++i) {
    LinkedBookmark* item = make();
    (last ? last->next : a->child) = item;
    last = item;
  }
  last->next = a->child;  // the long chain closes on itself

  std::map<zelta::IHostBookmark*, int> visits;
  std::vector<int32_t> levels;
  EXPECT_EQ(WalkBookmarks(top, 0, false,
                          [&](zelta::IHostBookmark* bookmark, int32_t level) {
                            ++visits[bookmark];
                            levels.push_back(level);
                            return zelta::S_OK;
                          }),
            zelta::S_OK);
  // a, b, c, the chain, and top once as b's child (the walk starts below it); a met again
  // under top ends there.
  EXPECT_EQ(visits.size(), 1004u);
  for (const auto& [bookmark, count] : visits) EXPECT_EQ(count, 1);
  EXPECT_EQ(levels[0], 1);
  EXPECT_EQ(levels[1], 2);  // the chain under a
  EXPECT_EQ(CountBookmarks(top, -1, 0, true), 1004u);
}

TEST_F(BookmarkSource, SelectionCollapsesIntoCoveringEntries) {
  auto a = At({1}), a2 = At({1, 2}), c1 = At({3, 1});
  auto* selections = host_.Plugin().Selections();
  BookmarkList list;

  host_.SelectBookmarks(document_.Get(), {a2.Get(), c1.Get(), a.Get()});
  ASSERT_EQ(CollectSelectedBookmarks(selections, document_.Get(), list, true), zelta::S_OK);
  EXPECT_EQ(ListTitles(list), (std::vector<std::u16string>{u"C1", u"A"}));
  ASSERT_EQ(CollectSelectedBookmarks(selections, document_.Get(), list, false), zelta::S_OK);
  EXPECT_EQ(ListTitles(list), (std::vector<std::u16string>{u"A2", u"C1", u"A"}));

  host_.SelectBookmarks(document_.Get(), {a.Get(), a2.Get(), a.Get()});
  CollectSelectedBookmarks(selections, document_.Get(), list, true);
  EXPECT_EQ(ListTitles(list), (std::vector<std::u16string>{u"A"}));

  // One by one gives the same as the whole selection.
  BookmarkList added;
  for (auto* b : {a2.Get(), c1.Get(), a.Get(), a2.Get()})
    ASSERT_EQ(AddBookmark(added, b, true), zelta::S_OK);
  EXPECT_EQ(ListTitles(added), (std::vector<std::u16string>{u"C1", u"A"}));
  EXPECT_EQ(AddBookmark(added, nullptr, true), zelta::E_POINTER);

  host_.SelectBookmarks(document_.Get(), {});
  list.push_back(a);
  EXPECT_EQ(CollectSelectedBookmarks(selections, document_.Get(), list, true), zelta::S_OK);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(CollectSelectedBookmarks(selections, nullptr, list, true), zelta::E_POINTER);
}

TEST_F(BookmarkSource, IsDescendantLooksAtParentsOnly) {
  auto a = At({1}), a1 = At({1, 1});
  EXPECT_TRUE(IsDescendant(a1.Get(), a.Get()));
  EXPECT_TRUE(IsDescendant(a1.Get(), Root(document_.Get()).Get()));
  EXPECT_FALSE(IsDescendant(a.Get(), a1.Get()));
  EXPECT_FALSE(IsDescendant(a.Get(), a.Get()));
  EXPECT_FALSE(IsDescendant(At({2, 1}).Get(), a.Get()));
}

TEST(BookmarkTarget, LastGoToWithAPageWins) {
  CoreHost host;
  PdfSpec layout;
  layout.pages.resize(4);
  layout.namedDests = {{"third", 2}};
  layout.outline.push_back(Mark("explicit", 1));
  layout.outline.push_back(NamedMark("named", "third"));
  OutlineSpec chain = Mark("chain");
  chain.actions = {GoToAction(3), UriAction("https://example.org")};
  layout.outline.push_back(chain);
  OutlineSpec two = Mark("two");
  two.actions = {GoToAction(0), GoToAction(2)};
  layout.outline.push_back(two);
  layout.outline.push_back(Mark("none"));
  OutlineSpec unresolved = Mark("unresolved");
  unresolved.actions = {GoToAction(1), GoToNameAction("missing")};
  layout.outline.push_back(unresolved);
  auto document = host.Open(layout);
  const int32_t kPages[] = {1, 2, 3, 2, -1, 1};
  for (int i = 1; i <= 6; ++i)
    EXPECT_EQ(TargetOf(BookmarkAt(document.Get(), {i}).Get()).page, kPages[i - 1]) << i;
  EXPECT_EQ(TargetOf(nullptr).page, -1);
}

zelta::PageDestination Dest(int32_t page, int32_t fit, uint32_t flags, double v1 = 0, double v2 = 0,
                            double v3 = 0, double v4 = 0) {
  return {page, fit, flags, {v1, v2, v3, v4}};
}

void ExpectPoint(ViewPoint point, double x, double y) {
  EXPECT_DOUBLE_EQ(point.x, x);
  EXPECT_DOUBLE_EQ(point.y, y);
}

TEST(DestinationPoint, TurnsWithPageAndViewRotation) {
  CoreHost host;
  PdfSpec layout;
  layout.pages = {Page(600, 800), Page(600, 800, 90)};
  auto document = host.Open(layout);
  auto* doc = document.Get();
  // XYZ with both values, then each quarter turn of the view.
  const auto xyz = Dest(0, zelta::kFitXYZ, 0x4, 100, 700);
  ExpectPoint(DestinationPoint(doc, 0, xyz), 100, 700);
  ExpectPoint(DestinationPoint(doc, 90, xyz), 700, -100);
  ExpectPoint(DestinationPoint(doc, 180, xyz), -100, -700);
  ExpectPoint(DestinationPoint(doc, 270, xyz), -700, 100);
  ExpectPoint(DestinationPoint(doc, 450, xyz), 700, -100);
  ExpectPoint(DestinationPoint(doc, -90, xyz), -700, 100);
  // The page's own rotation adds to the view's.
  ExpectPoint(DestinationPoint(doc, 0, Dest(1, zelta::kFitXYZ, 0x4, 100, 700)), 700, -100);
  ExpectPoint(DestinationPoint(doc, 270, Dest(1, zelta::kFitXYZ, 0x4, 100, 700)), 100, 700);
  // Absent values fall back to the box's top-left corner.
  ExpectPoint(DestinationPoint(doc, 0, Dest(0, zelta::kFitXYZ, 15)), 0, 800);
  ExpectPoint(DestinationPoint(doc, 0, Dest(0, zelta::kFit, 15)), 0, 800);
  ExpectPoint(DestinationPoint(doc, 0, Dest(0, zelta::kFitV, 0xE, 42)), 42, 800);
  // FitH goes through single precision.
  ExpectPoint(DestinationPoint(doc, 0, Dest(0, zelta::kFitH, 0xE, 700.1)), 0,
              static_cast<float>(700.1));
  // FitR: the rectangle's corner, with missing sides from the box.
  const auto fitR = Dest(0, zelta::kFitR, 0x2, 10, 0, 300, 400);
  ExpectPoint(DestinationPoint(doc, 0, fitR), 10, 400);
  ExpectPoint(DestinationPoint(doc, 90, fitR), 0, -10);
  ExpectPoint(DestinationPoint(doc, 180, fitR), -300, 0);
  ExpectPoint(DestinationPoint(doc, 270, fitR), -400, 300);
  // No such page: a zero box and the view's rotation alone.
  ExpectPoint(DestinationPoint(doc, 90, Dest(7, zelta::kFitXYZ, 0x4, 5, 6)), 6, -5);
  ExpectPoint(DestinationPoint(nullptr, 0, Dest(0, zelta::kFit, 15)), 0, 0);
}

}  // namespace
}  // namespace bm::testing
