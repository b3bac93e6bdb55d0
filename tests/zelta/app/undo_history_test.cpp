#include "zelta/app/undo_history.h"

#include <gtest/gtest.h>

#include "tests/zelta/app/fakes.h"

namespace zelta::app {
namespace {

using testing::FakeUndoItem;
using testing::Log;

class UndoHistoryTest : public ::testing::Test {
 protected:
  ComPtr<IHostChangeGroup> Begin(std::u16string_view label) {
    ComPtr<IHostChangeGroup> group;
    EXPECT_EQ(history->BeginGroup(label.data(), static_cast<int32_t>(label.size()), group.Put()),
              S_OK);
    return group;
  }
  ComPtr<FakeUndoItem> Item(std::string name) {
    return MakeCom<FakeUndoItem>(std::move(name), log);
  }
  // A committed step of one item.
  void Step(std::string name) {
    auto group = Begin(u"step");
    group->AddItem(Item(std::move(name)).Get());
    ASSERT_EQ(group->Commit(), S_OK);
  }
  int32_t UndoCount() {
    int32_t n = -1;
    history->GetUndoCount(&n);
    return n;
  }
  int32_t RedoCount() {
    int32_t n = -1;
    history->GetRedoCount(&n);
    return n;
  }
  std::u16string Label(int32_t index) {
    OwnedString text;
    history->GetLabel(index, text.Put());
    return text.Str();
  }

  ComPtr<UndoHistory> history = MakeCom<UndoHistory>();
  std::shared_ptr<Log> log = std::make_shared<Log>();
};

TEST_F(UndoHistoryTest, CommittedGroupIsOneStepUndoneNewestFirstAndRedoneInOrder) {
  auto group = Begin(u"plugin.DlgChangeBookmarkCase");
  group->AddItem(Item("a").Get());
  group->AddItem(Item("b").Get());
  EXPECT_EQ(group->Commit(), S_OK);
  EXPECT_EQ(group->Commit(), E_FAIL);
  EXPECT_EQ(group->AddItem(Item("late").Get()), E_FAIL);
  ASSERT_EQ(UndoCount(), 1);
  EXPECT_EQ(Label(0), u"plugin.DlgChangeBookmarkCase");

  EXPECT_EQ(history->Undo(), S_OK);
  EXPECT_EQ(*log, (Log{"undo b", "undo a"}));
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_EQ(RedoCount(), 1);
  EXPECT_EQ(history->Undo(), S_FALSE);
  EXPECT_EQ(history->Redo(), S_OK);
  EXPECT_EQ(*log, (Log{"undo b", "undo a", "redo a", "redo b"}));
  EXPECT_EQ(history->Redo(), S_FALSE);
  EXPECT_EQ(UndoCount(), 1);
}

TEST_F(UndoHistoryTest, EmptyCommitKeepsTheRedoListANewStepClearsIt) {
  Step("one");
  Step("two");
  history->Undo();
  history->Undo();
  ASSERT_EQ(RedoCount(), 2);
  EXPECT_EQ(Begin(u"empty")->Commit(), S_FALSE);
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_EQ(RedoCount(), 2);
  Step("three");
  EXPECT_EQ(RedoCount(), 0);
  EXPECT_EQ(UndoCount(), 1);
}

TEST_F(UndoHistoryTest, InnerGroupsCommitIntoTheOuterOne) {
  auto outer = Begin(u"outer");
  outer->AddItem(Item("a").Get());
  auto inner = Begin(u"inner");
  EXPECT_EQ(history->OpenGroup().Get(), inner.Get());
  inner->AddItem(Item("b").Get());
  EXPECT_EQ(inner->Commit(), S_OK);
  EXPECT_EQ(UndoCount(), 0);  // nothing recorded until the outer group closes
  EXPECT_EQ(history->OpenGroup().Get(), outer.Get());
  int32_t count = 0;
  outer->GetItemCount(&count);
  EXPECT_EQ(count, 2);
  outer->Commit();
  ASSERT_EQ(UndoCount(), 1);
  EXPECT_EQ(Label(0), u"outer");
  history->Undo();
  EXPECT_EQ(*log, (Log{"undo b", "undo a"}));
}

TEST_F(UndoHistoryTest, RollbackUndoesInReverseAndRecordsNothing) {
  auto outer = Begin(u"outer");
  outer->AddItem(Item("a").Get());
  auto inner = Begin(u"inner");
  inner->AddItem(Item("b").Get());
  inner->Commit();
  outer->AddItem(Item("c").Get());
  EXPECT_EQ(outer->Rollback(), S_OK);
  EXPECT_EQ(*log, (Log{"undo c", "undo b", "undo a"}));
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_EQ(outer->Rollback(), E_FAIL);
}

TEST_F(UndoHistoryTest, RollbackGoesOnPastAFailingItemAndReportsIt) {
  auto group = Begin(u"g");
  auto bad = Item("bad");
  bad->failUndo = true;
  group->AddItem(Item("a").Get());
  group->AddItem(bad.Get());
  group->AddItem(Item("c").Get());
  EXPECT_EQ(group->Rollback(), E_FAIL);
  EXPECT_EQ(*log, (Log{"undo c", "undo a"}));
}

TEST_F(UndoHistoryTest, InnerGroupsLeftOpenFollowTheOuterOne) {
  auto outer = Begin(u"outer");
  auto inner = Begin(u"inner");
  inner->AddItem(Item("b").Get());
  EXPECT_EQ(outer->Commit(), S_OK);  // takes the forgotten inner group's change along
  EXPECT_FALSE(history->OpenGroup());
  EXPECT_EQ(inner->Commit(), E_FAIL);
  EXPECT_EQ(UndoCount(), 1);

  auto outer2 = Begin(u"outer2");
  auto inner2 = Begin(u"inner2");
  inner2->AddItem(Item("x").Get());
  EXPECT_EQ(outer2->Rollback(), S_OK);
  EXPECT_EQ(log->back(), "undo x");
  EXPECT_EQ(UndoCount(), 1);
}

TEST_F(UndoHistoryTest, AbandonedGroupCommitsSoItsChangesStayUndoable) {
  {
    auto group = Begin(u"abandoned");
    group->AddItem(Item("a").Get());
  }
  EXPECT_FALSE(history->OpenGroup());
  ASSERT_EQ(UndoCount(), 1);
  EXPECT_EQ(Label(0), u"abandoned");
}

TEST_F(UndoHistoryTest, UndoWaitsForOpenGroups) {
  Step("a");
  auto open = Begin(u"open");
  EXPECT_EQ(history->Undo(), E_FAIL);
  EXPECT_TRUE(log->empty());
  open->Commit();
  EXPECT_EQ(history->Undo(), S_OK);
}

TEST_F(UndoHistoryTest, FailedUndoPutsTheStepBackWhole) {
  auto group = Begin(u"g");
  auto bad = Item("bad");
  bad->failUndo = true;
  group->AddItem(bad.Get());
  group->AddItem(Item("b").Get());
  group->Commit();
  EXPECT_EQ(history->Undo(), E_FAIL);
  EXPECT_EQ(*log, (Log{"undo b", "redo b"}));
  EXPECT_EQ(UndoCount(), 1);
  EXPECT_EQ(RedoCount(), 0);
}

TEST_F(UndoHistoryTest, RecordJoinsTheOpenGroupOrMakesItsOwnStep) {
  history->Record(u"op.bookmarks.delete", Item("alone").Get());
  EXPECT_EQ(UndoCount(), 1);
  auto group = Begin(u"run");
  history->Record(u"op.bookmarks.delete", Item("inside").Get());
  int32_t count = 0;
  group->GetItemCount(&count);
  EXPECT_EQ(count, 1);
  group->Commit();
  EXPECT_EQ(UndoCount(), 2);
  EXPECT_EQ(Label(0), u"op.bookmarks.delete");
  EXPECT_EQ(history->Record(u"x", nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace zelta::app
