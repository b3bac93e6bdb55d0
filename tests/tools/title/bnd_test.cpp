// Convert To Named Destinations against the real host: unique names from the mask, what is
// converted and what is left, undo and redo, and the sources.
#include <gtest/gtest.h>

#include <set>

#include "framework/bookmark_target.h"
#include "tests/harness/operation_run.h"
#include "tools/title/bnd_operation.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// The destination name a bookmark's last action uses ("" when explicit).
std::u16string NameOf(zelta::IHostBookmark* bookmark) {
  ComPtr<zelta::IHostActionList> actions;
  int32_t count = 0;
  if (bookmark->GetActions(actions.Put()) != zelta::S_OK ||
      zelta::Failed(actions->GetCount(&count)) || count == 0)
    return u"";
  ComPtr<zelta::IHostAction> action;
  actions->GetItem(count - 1, action.Put());
  bool named = false;
  action->IsDestinationNamed(&named);
  if (!named) return u"";
  zelta::OwnedString name;
  action->GetDestinationName(name.Put());
  return name.Str();
}

std::set<std::u16string> DocumentNames(zelta::IHostDocument* document) {
  std::set<std::u16string> names;
  int32_t count = 0;
  document->GetNamedDestCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    zelta::OwnedString name;
    document->GetNamedDestName(i, name.Put());
    names.insert(name.Str());
  }
  return names;
}

class NamedDests : public OperationRun {
 protected:
  HRESULT Convert(int32_t flags = 0, std::u16string mask = u"%[Title]",
                  std::vector<zelta::IUnknown*> bookmarks = {}) {
    auto operation = Make<BNDOperation>(bookmarks);
    operation->Options()->SetInt(u"Flags", flags);
    operation->Options()->SetText(u"EditText", mask.c_str(), static_cast<int32_t>(mask.size()));
    HRESULT hr = operation->Do(zelta::kDoNoProgress, 0);
    lastProblems_ = operation->HasProblems();
    return hr;
  }

  std::u16string NameAt(std::vector<int> path) {
    return NameOf(BookmarkAt(document_.Get(), path).Get());
  }
  int32_t PageAt(std::vector<int> path) {
    return TargetOf(BookmarkAt(document_.Get(), path).Get()).page;
  }
  // The destination names and target pages of the top-level bookmarks.
  Texts TopNames() {
    Texts names;
    for (int i = 1; BookmarkAt(document_.Get(), {i}); ++i) names.push_back(NameAt({i}));
    return names;
  }
  std::vector<int32_t> TopPages() {
    std::vector<int32_t> pages;
    for (int i = 1; BookmarkAt(document_.Get(), {i}); ++i) pages.push_back(PageAt({i}));
    return pages;
  }

  bool lastProblems_ = false;
};

PdfSpec Intros() {
  PdfSpec layout;
  layout.pages.resize(4);
  layout.outline = {Mark("Intro", 1), Mark("Intro", 2), Mark("Intro", 3)};
  return layout;
}

TEST_F(NamedDests, EqualTitlesGetNumberedNamesAndKeepTheirPages) {
  Open(Intros());
  ASSERT_EQ(Convert(), zelta::S_OK);
  EXPECT_FALSE(lastProblems_);
  EXPECT_EQ(TopNames(), (Texts{u"Intro", u"Intro_1", u"Intro_2"}));
  EXPECT_EQ(TopPages(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(DocumentNames(document_.Get()),
            (std::set<std::u16string>{u"Intro", u"Intro_1", u"Intro_2"}));
}

TEST_F(NamedDests, ExistingNamesAreNotTaken) {
  PdfSpec layout = Intros();
  layout.namedDests = {{"Intro", 0}, {"Intro_2", 0}};
  Open(layout);
  ASSERT_EQ(Convert(), zelta::S_OK);
  EXPECT_EQ(TopNames(), (Texts{u"Intro_1", u"Intro_3", u"Intro_4"}));
  zelta::PageDestination dest;
  ASSERT_EQ(document_->ResolveNamedDest(u"Intro", -1, &dest), zelta::S_OK);
  EXPECT_EQ(dest.page, 0);  // the document's own name still leads where it did
}

TEST_F(NamedDests, OnlyTheLastGoToIsConvertedAndOthersAreSkipped) {
  PdfSpec layout;
  layout.pages.resize(3);
  layout.namedDests = {{"there", 2}};
  OutlineSpec two = Mark("two");
  two.actions = {GoToAction(1), GoToAction(2), UriAction("http://example.com")};
  OutlineSpec uri = Mark("link");
  uri.actions = {UriAction("http://example.com")};
  layout.outline = {two, uri, NamedMark("named", "there"), Mark("none")};
  Open(layout);
  ASSERT_EQ(Convert(), zelta::S_OK);
  auto bookmark = BookmarkAt(document_.Get(), {1});
  ComPtr<zelta::IHostActionList> actions;
  bookmark->GetActions(actions.Put());
  ComPtr<zelta::IHostAction> first, second;
  actions->GetItem(0, first.Put());
  actions->GetItem(1, second.Put());
  bool named = true;
  first->IsDestinationNamed(&named);
  EXPECT_FALSE(named);
  zelta::OwnedString name;
  second->IsDestinationNamed(&named);
  EXPECT_TRUE(named);
  second->GetDestinationName(name.Put());
  EXPECT_EQ(name.View(), u"two");
  EXPECT_EQ(NameAt({3}), u"there");
  EXPECT_EQ(DocumentNames(document_.Get()), (std::set<std::u16string>{u"there", u"two"}));
}

TEST_F(NamedDests, UndoRemovesEveryCreatedNameAndRedoBringsThemBack) {
  PdfSpec layout = Intros();
  layout.namedDests = {{"keep", 0}};
  Open(layout);
  ASSERT_EQ(Convert(), zelta::S_OK);
  ExpectOneUndoStep(u"bookmarksPlugin.DlgBookmarksToNamedDests");
  auto history = History();
  ASSERT_EQ(history->Undo(), zelta::S_OK);
  EXPECT_EQ(DocumentNames(document_.Get()), (std::set<std::u16string>{u"keep"}));
  EXPECT_EQ(TopNames(), (Texts{u"", u"", u""}));
  EXPECT_EQ(TopPages(), (std::vector<int32_t>{1, 2, 3}));
  ASSERT_EQ(history->Redo(), zelta::S_OK);
  EXPECT_EQ(TopNames(), (Texts{u"Intro", u"Intro_1", u"Intro_2"}));
  EXPECT_EQ(TopPages(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(DocumentNames(document_.Get()),
            (std::set<std::u16string>{u"keep", u"Intro", u"Intro_1", u"Intro_2"}));
}

TEST_F(NamedDests, CancelTakesBackWhatWasConverted) {
  Open(Intros());
  host_.CancelProgressAt(2);
  EXPECT_EQ(Make<BNDOperation>()->Do(0, 0), zelta::E_CANCELLED);
  EXPECT_TRUE(DocumentNames(document_.Get()).empty());
  EXPECT_EQ(NameAt({1}), u"");
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(NamedDests, MaskWithMacrosAndPlainMask) {
  PdfSpec layout;
  layout.pages.resize(3);
  layout.outline = {Mark("One", 0), Mark("Two", 2)};
  layout.outline[1].children = {Mark("Sub", 1)};
  Open(layout);
  ASSERT_EQ(Convert(0, u"p%[Page]-%[HierTitle:/]"), zelta::S_OK);
  EXPECT_EQ(TopNames(), (Texts{u"p1-One", u"p3-Two"}));
  EXPECT_EQ(NameAt({2, 1}), u"p2-Two/Sub");

  Open(Intros());
  ASSERT_EQ(Convert(0, u"dest"), zelta::S_OK);
  EXPECT_EQ(DocumentNames(document_.Get()),
            (std::set<std::u16string>{u"dest", u"dest_1", u"dest_2"}));
}

TEST_F(NamedDests, EmptyNameIsAProblemNotAConversion) {
  PdfSpec layout;
  layout.outline = {Mark("", 0), Mark("Title", 0)};
  Open(layout);
  ASSERT_EQ(Convert(), zelta::S_OK);
  EXPECT_TRUE(lastProblems_);
  EXPECT_EQ(TopNames(), (Texts{u"", u"Title"}));
}

TEST_F(NamedDests, SelectedBookmarksWithAndWithoutTheirChildren) {
  PdfSpec layout;
  layout.pages.resize(2);
  OutlineSpec parent = Mark("Parent", 0);
  parent.children = {Mark("Child", 1)};
  layout.outline = {parent, Mark("Other", 1)};
  Open(layout);
  auto selected = BookmarkAt(document_.Get(), {1});
  ASSERT_EQ(Convert(kBndSourceSelected, u"%[Title]", {selected.Get()}), zelta::S_OK);
  EXPECT_EQ(NameAt({1}), u"Parent");
  EXPECT_EQ(NameAt({1, 1}), u"");
  EXPECT_EQ(NameAt({2}), u"");

  host_.SelectBookmarks(document_.Get(), {selected.Get()});
  ASSERT_EQ(Convert(kBndSourceSelected | kBndIncludeSubBookmarks), zelta::S_OK);
  EXPECT_EQ(NameAt({1, 1}), u"Child");
  EXPECT_EQ(NameAt({2}), u"");
}

}  // namespace
}  // namespace bm::testing
