#include <gtest/gtest.h>

#include "tests/zelta/app/fakes.h"
#include "zelta/app/host_app.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {
namespace {

using testing::FakeBookmark;
using testing::FakeDocument;

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app->AddDocument(ComPtr<IHostDocument>(doc));
    app->AddDocument(ComPtr<IHostDocument>(otherDoc));
    ComPtr<IUnknown> component;
    app->GetComponent("ZLK", component.Put());
    service = QueryAs<ISelectionService>(component.Get());
    ASSERT_TRUE(service);
  }
  ComPtr<IUnknown> Unknown(IHostBookmark* b) { return QueryAs<IUnknown>(b); }
  std::vector<IUnknown*> Selected(IHostDocument* document) {
    ComPtr<IHostSelection> selection;
    std::vector<IUnknown*> items;
    if (service->GetSelection(document, bookmarks, selection.Put()) != S_OK) return items;
    int32_t count = 0;
    selection->GetCount(&count);
    for (int32_t i = 0; i < count; ++i) {
      ComPtr<IUnknown> item;
      selection->GetItem(i, item.Put());
      items.push_back(item.Get());
    }
    ComPtr<IUnknown> outside;
    EXPECT_EQ(selection->GetItem(count, outside.Put()), S_FALSE);
    return items;
  }

  ComPtr<HostApp> app = MakeCom<HostApp>();
  ComPtr<FakeDocument> doc = MakeCom<FakeDocument>();
  ComPtr<FakeDocument> otherDoc = MakeCom<FakeDocument>();
  ComPtr<ISelectionService> service;
  Atom bookmarks = base::Intern("selection.bookmarks");
  Atom text = base::Intern("selection.text");
};

TEST_F(SelectionTest, BookmarkSelectionKeepsSelectionOrderPerDocument) {
  auto a = MakeCom<FakeBookmark>(doc.Get()), b = MakeCom<FakeBookmark>(doc.Get());
  EXPECT_EQ(Selected(doc.Get()).size(), 0u);
  ASSERT_EQ(app->SetSelection(doc.Get(), bookmarks, {Unknown(b.Get()), Unknown(a.Get())}), S_OK);
  EXPECT_EQ(Selected(doc.Get()),
            (std::vector<IUnknown*>{Unknown(b.Get()).Get(), Unknown(a.Get()).Get()}));
  EXPECT_TRUE(Selected(otherDoc.Get()).empty());
  // Clearing with an empty list.
  app->SetSelection(doc.Get(), bookmarks, {});
  ComPtr<IHostSelection> none;
  EXPECT_EQ(service->GetSelection(doc.Get(), bookmarks, none.Put()), S_FALSE);
  EXPECT_FALSE(none);
}

TEST_F(SelectionTest, RejectsItemsThatAreNotBookmarksOfTheDocument) {
  auto mine = MakeCom<FakeBookmark>(doc.Get());
  auto foreign = MakeCom<FakeBookmark>(otherDoc.Get());
  app->SetSelection(doc.Get(), bookmarks, {Unknown(mine.Get())});
  std::string error;
  EXPECT_EQ(app->SetSelection(doc.Get(), bookmarks, {Unknown(mine.Get()), Unknown(foreign.Get())},
                              &error),
            E_INVALIDARG);
  EXPECT_EQ(error, "selected item 2 is not a bookmark of the document");
  EXPECT_EQ(app->SetSelection(doc.Get(), bookmarks,
                              {ComPtr<IUnknown>(static_cast<IHostDocument*>(doc.Get()))}),
            E_INVALIDARG);
  EXPECT_EQ(Selected(doc.Get()).size(), 1u);  // unchanged
  auto closed = MakeCom<FakeDocument>();
  EXPECT_EQ(app->SetSelection(closed.Get(), bookmarks, {}, &error), E_INVALIDARG);
}

TEST_F(SelectionTest, DeletedBookmarksDropOutOfTheSelection) {
  auto a = MakeCom<FakeBookmark>(doc.Get()), b = MakeCom<FakeBookmark>(doc.Get());
  app->SetSelection(doc.Get(), bookmarks, {Unknown(a.Get()), Unknown(b.Get())});
  a->attached = false;
  EXPECT_EQ(Selected(doc.Get()), (std::vector<IUnknown*>{Unknown(b.Get()).Get()}));
  b->attached = false;
  ComPtr<IHostSelection> none;
  EXPECT_EQ(service->GetSelection(doc.Get(), bookmarks, none.Put()), S_FALSE);
}

TEST_F(SelectionTest, TextSelectionHoldsOneObjectAndGoesWithTheDocument) {
  auto selectedText = MakeCom<FakeDocument>();  // any object stands for selected text
  ComPtr<IUnknown> got;
  EXPECT_EQ(service->GetTextSelection(doc.Get(), got.Put()), S_FALSE);
  EXPECT_EQ(service->GetTextSelection(nullptr, got.Put()), E_INVALIDARG);
  ComPtr<IUnknown> object = QueryAs<IUnknown>(selectedText.Get());
  ASSERT_EQ(app->SetSelection(doc.Get(), text, {object}), S_OK);
  EXPECT_EQ(service->GetTextSelection(doc.Get(), got.Put()), S_OK);
  EXPECT_EQ(got.Get(), object.Get());
  EXPECT_EQ(app->SetSelection(doc.Get(), text, {object, object}), E_INVALIDARG);

  app->CloseDocument(doc.Get());
  EXPECT_EQ(service->GetTextSelection(doc.Get(), got.Put()), S_FALSE);
}

}  // namespace
}  // namespace zelta::app
