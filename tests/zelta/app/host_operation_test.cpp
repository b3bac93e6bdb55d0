// The host's bookmark operations run as the tools run them: through CreateOperation with an
// "Input" list, inside and outside change groups, then undone and redone; the outline is
// compared as text and the saved file checked with qpdf.
#include <gtest/gtest.h>

#include <functional>

#include "host/object_list.h"
#include "host/ui.h"
#include "tests/harness/host_operation_call.h"
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/app/host_app.h"
#include "zelta/app/selection/object_list_factory.h"
#include "zelta/app/undo_history.h"
#include "zelta/base/atom_table.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/outline/outline_dump.h"
#include "zelta/ui/window_service.h"

namespace zelta::app {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

class HostOperationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PdfSpec layout;
    layout.pages.resize(3);
    for (const char* title : {"A", "B", "C"}) {
      OutlineSpec top = Bookmark(title, 0);
      top.children = {Bookmark(std::string(title) + "1", 1), Bookmark(std::string(title) + "2", 2)};
      layout.outline.push_back(top);
    }
    std::string error;
    ASSERT_EQ(app_->OpenDocument(dir_.Write("in.pdf", zelta::testing::BuildPdf(layout)), "", &doc_,
                                 &error),
              S_OK)
        << error;
    doc_->GetOutlineRoot(root_.Put());
  }
  static ComPtr<IHostBookmark> At(IHostBookmark* parent, int n) {
    return pdf::testing::Child(parent, n);
  }
  static std::u16string Title(IHostBookmark* bookmark) { return pdf::testing::Title(bookmark); }
  static int32_t Children(IHostBookmark* bookmark) {
    int32_t count = -1;
    bookmark->GetChildCount(&count);
    return count;
  }
  static int32_t Style(IHostBookmark* bookmark) {
    int32_t style = -1;
    bookmark->GetStyle(&style);
    return style;
  }
  // Titles of the tree, children in brackets: "A[A1,A2],B[..]".
  std::string Tree() { return pdf::OutlineToText(doc_.Get()); }

  // Creates the operation with the objects as "Input"; options are set by `configure`.
  ComPtr<IHostOperation> Make(const char* id, std::vector<IUnknown*> input,
                              std::function<void(ICabItem*)> configure = nullptr) {
    return zelta::testing::MakeHostOperation(*app_, id, std::move(input), std::move(configure));
  }
  HRESULT Run(const char* id, std::vector<IUnknown*> input,
              std::function<void(ICabItem*)> configure = nullptr, int32_t flags = 0) {
    return app_->RunOperation(Make(id, std::move(input), std::move(configure)).Get(), flags, 0);
  }
  int32_t UndoCount() {
    int32_t count = 0;
    app_->UndoHistoryOf(doc_.Get())->GetUndoCount(&count);
    return count;
  }
  void ExpectSavedFileClean() {
    ASSERT_TRUE(pdf::testing::SaveOk(doc_.Get(), dir_.File("out.pdf")));
    pdf::testing::ExpectQpdfClean(dir_.File("out.pdf"));
  }

  pdf::testing::ScratchDir dir_;
  ComPtr<HostApp> app_ = MakeCom<HostApp>();
  ComPtr<pdf::HostDocument> doc_;
  ComPtr<IHostBookmark> root_;
};

ComPtr<IHostObjectList> NewList(HostApp* app, std::vector<IUnknown*> items) {
  ComPtr<IUnknown> component;
  app->GetComponent("LST", component.Put());
  auto factory = QueryAs<IObjectListFactory>(component.Get());
  ComPtr<IHostObjectList> list;
  EXPECT_TRUE(factory && factory->CreateObjectList(list.Put()) == S_OK);
  for (IUnknown* item : items) EXPECT_EQ(list->Insert(-1, item), S_OK);
  return list;
}

// The sorting tool's sequence: delete the group, insert it back in order, record the adds.
TEST_F(HostOperationTest, ReorderingAGroupIsOneUndoableStep) {
  const std::string before = Tree();
  auto a = At(root_.Get(), 0), b = At(root_.Get(), 1), c = At(root_.Get(), 2);
  auto list = NewList(app_.Get(), {c.Get(), a.Get(), b.Get()});
  ComPtr<IHostChangeGroup> group;
  app_->UndoHistoryOf(doc_.Get())->BeginGroup(u"sort", -1, group.Put());
  ASSERT_EQ(Run("op.bookmarks.delete", {list.Get()}), S_OK);
  EXPECT_EQ(Children(root_.Get()), 0);
  for (auto* item : {c.Get(), a.Get(), b.Get()}) ASSERT_EQ(root_->InsertChild(-1, item), S_OK);
  ASSERT_EQ(Run("op.bookmarks.addNew.simple", {list.Get()}), S_OK);
  ASSERT_EQ(group->Commit(), S_OK);
  const std::string sorted = Tree();
  EXPECT_EQ(sorted.substr(0, 2), "C ");
  EXPECT_EQ(UndoCount(), 1);

  auto history = app_->UndoHistoryOf(doc_.Get());
  ASSERT_EQ(history->Undo(), S_OK);
  EXPECT_EQ(Tree(), before);
  ASSERT_EQ(history->Redo(), S_OK);
  EXPECT_EQ(Tree(), sorted);
  ExpectSavedFileClean();
}

TEST_F(HostOperationTest, DeleteTakesSubtreesAndUndoPutsThemBack) {
  const std::string before = Tree();
  auto b = At(root_.Get(), 1);
  auto b2 = At(b.Get(), 1), a1 = At(At(root_.Get(), 0).Get(), 0);
  // b2 lies inside b: it goes with it and comes back inside it.
  ASSERT_EQ(Run("op.bookmarks.delete", {b2.Get(), a1.Get(), b.Get()}), S_OK);
  EXPECT_EQ(Tree(), "A  [p. 1]\n  A2  [p. 3]\nC  [p. 1]\n  C1  [p. 2]\n  C2  [p. 3]\n");
  EXPECT_EQ(Children(b.Get()), 2);
  EXPECT_EQ(UndoCount(), 1);
  ASSERT_EQ(app_->UndoHistoryOf(doc_.Get())->Undo(), S_OK);
  EXPECT_EQ(Tree(), before);
  ExpectSavedFileClean();
}

// Undo steps hold bookmarks and bookmarks hold their document: closing the document must
// still free it, or every edited document of a session stays in memory.
TEST_F(HostOperationTest, AClosedDocumentIsFreedWithItsUndoSteps) {
  ASSERT_EQ(Run("op.bookmarks.delete", {At(root_.Get(), 1).Get()}), S_OK);
  ASSERT_EQ(UndoCount(), 1);
  root_.Reset();
  ASSERT_EQ(app_->CloseDocument(doc_.Get()), S_OK);
  app_.Reset();  // the application's record of the last run holds the document too
  doc_->AddRef();
  EXPECT_EQ(doc_->Release(), 1u);  // only this test's own reference is left
}

// A selection of a whole deep branch, listed bottom-up, plus an item outside it: only the
// branch's top and the outside item are taken out, and undo puts the chain back whole.
TEST_F(HostOperationTest, DeletingADeepSelectedBranchTakesItsTopOnly) {
  std::vector<ComPtr<IHostBookmark>> chain{At(root_.Get(), 0)};
  for (int i = 0; i < 1500; ++i) {
    ComPtr<IHostBookmark> item;
    ASSERT_EQ(chain.back()->InsertNewChild(-1, item.Put()), S_OK);
    chain.push_back(item);
  }
  const std::string before = Tree();
  auto c1 = At(At(root_.Get(), 2).Get(), 0);
  std::vector<IUnknown*> input{c1.Get()};
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) input.push_back(it->Get());
  ASSERT_EQ(Run("op.bookmarks.delete", input), S_OK);
  EXPECT_EQ(Tree(), "B  [p. 1]\n  B1  [p. 2]\n  B2  [p. 3]\nC  [p. 1]\n  C2  [p. 3]\n");
  EXPECT_EQ(Children(chain[1499].Get()), 1);  // the chain stays whole below its top
  ASSERT_EQ(app_->UndoHistoryOf(doc_.Get())->Undo(), S_OK);
  EXPECT_EQ(Tree(), before);
  ExpectSavedFileClean();
}

TEST_F(HostOperationTest, BadInputChangesNothing) {
  const std::string before = Tree();
  EXPECT_EQ(Run("op.bookmarks.delete", {}), S_FALSE);
  EXPECT_EQ(Run("op.bookmarks.delete", {root_.Get()}), E_INVALIDARG);
  EXPECT_EQ(Run("op.bookmarks.delete", {static_cast<IHostDocument*>(doc_.Get())}), E_INVALIDARG);
  ComPtr<pdf::HostDocument> other;
  std::string error;
  ASSERT_EQ(app_->OpenDocument(dir_.File("in.pdf"), "", &other, &error), S_OK);
  ComPtr<IHostBookmark> otherRoot;
  other->GetOutlineRoot(otherRoot.Put());
  EXPECT_EQ(Run("op.bookmarks.delete", {At(root_.Get(), 0).Get(), At(otherRoot.Get(), 0).Get()}),
            E_INVALIDARG);
  // A bookmark taken out already cannot be recorded as added.
  auto c = At(root_.Get(), 2);
  ASSERT_EQ(c->Remove(), S_OK);
  EXPECT_EQ(Run("op.bookmarks.addNew.simple", {c.Get()}), E_INVALIDARG);
  ASSERT_EQ(root_->InsertChild(-1, c.Get()), S_OK);
  EXPECT_EQ(Tree(), before);
  EXPECT_EQ(UndoCount(), 0);
}

TEST_F(HostOperationTest, SetPropsChangesWhatTheMaskSaysAndUndoes) {
  auto a = At(root_.Get(), 0), b = At(root_.Get(), 1);
  ComPtr<IHostActionList> actions;
  doc_->CreateActionList(actions.Put());
  actions->AppendUri(u"https://example.org/", -1, nullptr);
  ASSERT_EQ(Run("op.bookmarks.setProps", {a.Get(), b.Get()},
                [&](ICabItem* options) {
                  options->SetInt(u"Mask", kPropTitle | kPropStyle | kPropActions);
                  options->SetText(u"Title", u"Renamed", -1);
                  options->SetInt(u"Style", 3);
                  options->SetObject(u"Actions", actions.Get());
                }),
            S_OK);
  EXPECT_EQ(Title(b.Get()), u"Renamed");
  EXPECT_EQ(Style(a.Get()), 3);
  EXPECT_EQ(pdf::TargetPageOf(a.Get()), -1);  // the URI replaced the page destination

  ASSERT_EQ(app_->UndoHistoryOf(doc_.Get())->Undo(), S_OK);
  EXPECT_EQ(Title(a.Get()), u"A");
  EXPECT_EQ(Style(a.Get()), 0);
  EXPECT_EQ(pdf::TargetPageOf(a.Get()), 0);
  ExpectSavedFileClean();

  EXPECT_EQ(Run("op.bookmarks.setProps", {a.Get()}), S_FALSE);  // mask 0
  EXPECT_EQ(Run("op.bookmarks.setProps", {a.Get()}, [](ICabItem* o) { o->SetInt(u"Mask", 0x100); }),
            E_INVALIDARG);
  EXPECT_EQ(Run("op.bookmarks.setProps", {a.Get()},
                [](ICabItem* o) {
                  o->SetInt(u"Mask", kPropStyle);
                  o->SetInt(u"Style", 7);
                }),
            E_INVALIDARG);
  // A title past the longest allowed is refused by the edit and by the bookmark itself.
  const std::u16string longest(32767, u'x'), over(32768, u'y');
  const auto setTitle = [&](const std::u16string& text) {
    return Run("op.bookmarks.setProps", {a.Get()}, [&](ICabItem* o) {
      o->SetInt(u"Mask", kPropTitle);
      o->SetText(u"Title", text.c_str(), static_cast<int32_t>(text.size()));
    });
  };
  EXPECT_EQ(setTitle(over), E_INVALIDARG);
  EXPECT_EQ(a->SetTitle(over.c_str(), static_cast<int32_t>(over.size())), E_INVALIDARG);
  EXPECT_EQ(setTitle(longest), S_OK);
  EXPECT_EQ(Title(a.Get()).size(), longest.size());
}

// The validation dialog's "keep the children" removal: move them into the bookmark's place.
TEST_F(HostOperationTest, MoveChildrenIntoTheParentsPlace) {
  const std::string before = Tree();
  auto b = At(root_.Get(), 1);
  auto b1 = At(b.Get(), 0), b2 = At(b.Get(), 1);
  ASSERT_EQ(Run("op.bookmarks.move", {b1.Get(), b2.Get()},
                [&](ICabItem* options) {
                  options->SetObject(u"Parent", root_.Get());
                  options->SetObject(u"InsertBefore", b.Get());
                }),
            S_OK);
  ASSERT_EQ(Run("op.bookmarks.delete", {b.Get()}), S_OK);
  EXPECT_EQ(
      Tree(),
      "A  [p. 1]\n  A1  [p. 2]\n  A2  [p. 3]\nB1  [p. 2]\nB2  [p. 3]\nC  [p. 1]\n  C1  [p. 2]\n"
      "  C2  [p. 3]\n");
  ExpectSavedFileClean();
  auto history = app_->UndoHistoryOf(doc_.Get());
  ASSERT_EQ(history->Undo(), S_OK);
  ASSERT_EQ(history->Undo(), S_OK);
  EXPECT_EQ(Tree(), before);

  // Into its own subtree, or in front of a bookmark of another parent: refused, unchanged.
  auto a = At(root_.Get(), 0);
  EXPECT_EQ(Run("op.bookmarks.move", {a.Get()},
                [&](ICabItem* o) { o->SetObject(u"Parent", At(a.Get(), 0).Get()); }),
            E_INVALIDARG);
  EXPECT_EQ(Run("op.bookmarks.move", {a.Get()},
                [&](ICabItem* o) { o->SetObject(u"InsertBefore", b1.Get()); }),
            E_INVALIDARG);
  EXPECT_EQ(Tree(), before);
  // Without options: to the end of the top level.
  ASSERT_EQ(Run("op.bookmarks.move", {a.Get()}), S_OK);
  EXPECT_EQ(Tree().substr(0, 2), "B ");
}

TEST_F(HostOperationTest, NoChangeGroupFlagRecordsOnlyIntoAnOpenGroup) {
  auto c = At(root_.Get(), 2);
  ASSERT_EQ(Run("op.bookmarks.delete", {c.Get()}, nullptr, kDoNoChangeGroup), S_OK);
  EXPECT_EQ(UndoCount(), 0);
  ComPtr<IHostChangeGroup> group;
  app_->UndoHistoryOf(doc_.Get())->BeginGroup(u"outer", -1, group.Put());
  ASSERT_EQ(Run("op.bookmarks.delete", {At(root_.Get(), 0).Get()}, nullptr, kDoNoChangeGroup),
            S_OK);
  int32_t items = 0;
  group->GetItemCount(&items);
  EXPECT_EQ(items, 1);
  ASSERT_EQ(group->Rollback(), S_OK);
  EXPECT_EQ(Tree().substr(0, 2), "A ");
}

TEST_F(HostOperationTest, ViewRotationIsZeroUntilTurned) {
  ComPtr<IUnknown> component;
  app_->GetComponent("ZLW", component.Put());
  auto windows = QueryAs<IWindowService>(component.Get());
  int32_t degrees = -1;
  ASSERT_EQ(windows->GetViewRotation(doc_.Get(), &degrees), S_OK);
  EXPECT_EQ(degrees, 0);
  auto* own = static_cast<ui::WindowService*>(windows.Get());
  ASSERT_EQ(own->SetViewRotation(doc_.Get(), -450), S_OK);
  windows->GetViewRotation(doc_.Get(), &degrees);
  EXPECT_EQ(degrees, 270);
  EXPECT_EQ(own->SetViewRotation(doc_.Get(), 45), E_INVALIDARG);
  EXPECT_EQ(windows->GetViewRotation(nullptr, &degrees), S_FALSE);
  EXPECT_EQ(degrees, 0);
}

TEST(ObjectList, InsertCountAndItems) {
  auto app = MakeCom<HostApp>();
  auto list = NewList(app.Get(), {});
  ASSERT_TRUE(list);
  auto one = MakeCom<ObjectListFactory>(), two = MakeCom<ObjectListFactory>();
  IUnknown* first = static_cast<IUnknown*>(one.Get());
  IUnknown* second = static_cast<IUnknown*>(two.Get());
  ASSERT_EQ(list->Insert(0, first), S_OK);
  ASSERT_EQ(list->Insert(0, second), S_OK);
  ASSERT_EQ(list->Insert(-1, second), S_OK);
  EXPECT_EQ(list->Insert(4, first), E_INVALIDARG);
  EXPECT_EQ(list->Insert(0, nullptr), E_POINTER);
  int32_t count = 0;
  list->GetCount(&count);
  EXPECT_EQ(count, 3);
  ComPtr<IUnknown> item;
  ASSERT_EQ(list->GetItem(1, item.Put()), S_OK);
  EXPECT_EQ(item.Get(), first);
  EXPECT_EQ(list->GetItem(3, item.Put()), S_FALSE);
  EXPECT_FALSE(item);
  ASSERT_EQ(list->RemoveAt(0), S_OK);
  list->GetItem(0, item.Put());
  EXPECT_EQ(item.Get(), first);
  EXPECT_EQ(list->RemoveAt(2), E_INVALIDARG);
  ASSERT_EQ(list->Clear(), S_OK);
  list->GetCount(&count);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zelta::app
