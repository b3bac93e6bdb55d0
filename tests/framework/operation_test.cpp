// The run cycle of BookmarkOperation against the real host: dialog answers, saved options,
// result messages, and the operation's host-facing answers.
#include <gtest/gtest.h>

#include <new>

#include "framework/atom_table.h"
#include "framework/bookmark_operation.h"
#include "framework/cab_access.h"
#include "plugin/plugin_settings.h"
#include "tests/harness/core_host.h"
#include "tools/title/title_change_undo.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;

// An operation whose dialog answer and run result are scripted. Its row borrows the
// change-case id and roots, so its options are CBCOptions.
constexpr OperationRow kScriptedRow = {.id = u"op.bookmarks.changeBookmarkCase",
                                       .abbreviation = u"",
                                       .paramsRoot = u"CBCOperationRoot",
                                       .optionsRoot = u"CBCOptionsRoot",
                                       .lastUsedItem = u"CBCLastUsedOptions",
                                       .command = u"",
                                       .titleId = u"",
                                       .iconId = u"",
                                       .submenuSlot = -1,
                                       .traits = 0,
                                       .changes = RunChanges::kBookmarkTitles,
                                       .create = nullptr,
                                       .dialog = nullptr};

class ScriptedOperation : public BookmarkOperation {
 public:
  ScriptedOperation(PluginObject* plugin, HRESULT dialog, HRESULT run, bool keepAlways)
      : BookmarkOperation(plugin, kScriptedRow),
        dialog_(dialog),
        run_(run),
        keepAlways_(keepAlways) {}
  HRESULT ShowDialog(zelta::WindowHandle, intptr_t) override {
    ++dialogs;
    Options()->SetInt(u"Flags", 4);  // the user's edit
    return dialog_;
  }
  HRESULT Run(int32_t, intptr_t) override {
    ++runs;
    BeginRun();
    HRESULT hr = ReadInputs();
    if (zelta::Failed(hr)) return hr;
    if (problem) MarkProblem();
    if (throwMidway) {
      // A change inside the run's change group, then an exception out of the run.
      if (zelta::Failed(OpenChangeGroup(0, u"bookmarksPlugin.cmd.name"))) return zelta::E_FAIL;
      auto bookmark = BookmarkAt(Document(), {1});
      auto undo = zelta::MakeCom<TitleChangeUndo>();
      undo->Add(bookmark.Get(), u"kept", u"changed");
      ChangeGroup()->AddItem(undo.Get());
      bookmark->SetTitle(u"changed", 7);
      throw std::bad_alloc();
    }
    return run_;
  }
  bool KeepOptions(HRESULT hr) const override { return keepAlways_ || hr == zelta::S_OK; }

  int dialogs = 0;
  int runs = 0;
  bool problem = false;
  bool throwMidway = false;

 protected:
  HRESULT ReadInputs() override { return ReadBookmarkListInput(); }

 private:
  HRESULT dialog_;
  HRESULT run_;
  bool keepAlways_;
};

ComPtr<ScriptedOperation> Scripted(CoreHost& host, HRESULT dialog = zelta::S_OK,
                                   HRESULT run = zelta::S_OK, bool keepAlways = false) {
  return zelta::MakeCom<ScriptedOperation>(&host.Plugin(), dialog, run, keepAlways);
}

int32_t SavedFlags(CoreHost& host) {
  return CabInt(CabItem(SettingsRoot(host.Plugin()).Get(), u"CBCLastUsedOptions").Get(), u"Flags",
                -1);
}

class ExecuteCycle : public ::testing::Test {
 protected:
  CoreHost host_;
  ComPtr<zelta::IHostDocument> document_;
};

constexpr uint32_t kFailure = 0x80000401u, kWarning = 0x80000301u;

// The dialog's answer decides whether the run happens and whether options are kept; the
// run's result and problems decide the one message shown.
TEST(ExecuteCycleCases, DialogAnswerRunResultAndMessage) {
  const struct {
    HRESULT dialog, run;
    bool keepAlways, problem, throughHost;
    HRESULT result;
    int runs;
    const char16_t* message;  // the id of the one message shown, or null for none
    uint32_t style;
    int32_t savedFlags;  // the dialog sets 4; options are kept after OK or by "always" operations
  } cases[] = {
      {zelta::S_FALSE, zelta::S_OK, false, false, true, zelta::E_CANCELLED, 0, nullptr, 0, 0},
      {zelta::E_FAIL, zelta::S_OK, false, false, true, zelta::E_CANCELLED, 0, nullptr, 0, 0},
      {zelta::E_NOTIMPL, zelta::S_OK, false, false, true, zelta::E_CANCELLED, 0, nullptr, 0, 0},
      {zelta::S_FALSE, zelta::S_OK, true, false, true, zelta::E_CANCELLED, 0, nullptr, 0, 4},
      {zelta::S_OK, zelta::S_OK, false, false, true, zelta::S_OK, 1, nullptr, 0, 4},
      {zelta::S_OK, zelta::S_OK, false, false, false, zelta::S_OK, 1, nullptr, 0, 4},
      {zelta::S_OK, zelta::S_FALSE, false, false, true, zelta::S_FALSE, 1,
       u"bookmarksPlugin.msg.oper.noChanges", kWarning, 4},
      {zelta::S_OK, zelta::S_OK, false, true, true, zelta::S_OK, 1,
       u"bookmarksPlugin.msg.oper.warning", kWarning, 4},
      // Problems and no change: the warning alone.
      {zelta::S_OK, zelta::S_FALSE, false, true, true, zelta::S_FALSE, 1,
       u"bookmarksPlugin.msg.oper.warning", kWarning, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    CoreHost host;
    host.Open(zelta::testing::PdfSpec{});
    auto operation = Scripted(host, c.dialog, c.run, c.keepAlways);
    operation->problem = c.problem;
    EXPECT_EQ(operation->Execute(c.throughHost, 0), c.result);
    EXPECT_EQ(operation->dialogs, 1);
    EXPECT_EQ(operation->runs, c.runs);
    EXPECT_EQ(host.App().LastRun().has_value(), c.runs == 1 && c.throughHost);
    EXPECT_EQ(SavedFlags(host), c.savedFlags);
    if (!c.message) {
      EXPECT_TRUE(host.messages.empty());
      continue;
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, host.Plugin().LoadString(c.message));
    EXPECT_EQ(host.messages[0].style, c.style);
  }
}

TEST_F(ExecuteCycle, FailureShowsTheResultText) {
  document_ = host_.Open(zelta::testing::PdfSpec{});
  auto operation = Scripted(host_, zelta::S_OK, zelta::E_NO_PERMISSION);
  EXPECT_EQ(operation->Execute(true, 0), zelta::E_NO_PERMISSION);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, u"Error [Bookmarks]: No permissions for this operation.");
  EXPECT_EQ(host_.messages[0].caption, u"Bookmarks");
  EXPECT_EQ(host_.messages[0].style, kFailure);
}

TEST_F(ExecuteCycle, AnExceptionOutOfARunRollsItBackAndFailsIt) {
  zelta::testing::PdfSpec layout;
  layout.outline = {Mark("kept", 0)};
  document_ = host_.Open(layout);
  auto operation = Scripted(host_);
  operation->throwMidway = true;
  EXPECT_EQ(operation->Execute(true, 0), zelta::E_OUTOFMEMORY);
  EXPECT_EQ(Titles(document_.Get()), std::vector<std::u16string>{u"kept"});
  EXPECT_EQ(UndoCount(document_.Get()), 0);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].style, kFailure);
}

TEST_F(ExecuteCycle, InputTakesTheActiveDocument) {
  document_ = host_.Open(zelta::testing::PdfSpec{});
  auto operation = Scripted(host_, zelta::S_FALSE);
  operation->Execute(true, 0);
  auto objects = CabObjects(operation->Input().Get());
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(zelta::QueryAs<zelta::IHostDocument>(objects[0].Get()), document_);
}

TEST(BookmarkOperation, WithoutDocumentInputStaysEmptyAndTheRunFails) {
  CoreHost host;
  auto operation = Scripted(host);
  EXPECT_EQ(operation->Execute(false, 0), zelta::E_FAIL);  // an empty Input array
  EXPECT_TRUE(CabObjects(operation->Input().Get()).empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].style, kFailure);
}

TEST(BookmarkOperation, HostFacingAnswers) {
  CoreHost host;
  auto operation = Scripted(host);
  EXPECT_EQ(operation->GetKind(nullptr), zelta::E_POINTER);
  const zelta::Atom id = AtomOf(u"op.bookmarks.changeBookmarkCase");
  ComPtr<zelta::IUnknown> object;
  EXPECT_EQ(operation->GetObject(zelta::kNoAtom, object.Put()), zelta::E_INVALIDARG);
  EXPECT_EQ(operation->GetObject(id, object.Put()), zelta::S_FALSE);
  EXPECT_FALSE(object);
  EXPECT_EQ(operation->GetObject(id, nullptr), zelta::E_POINTER);
  // The base operation has no dialog and no run of its own.
  EXPECT_EQ(operation->BookmarkOperation::ShowDialog(0, 0), zelta::E_NOTIMPL);

  EXPECT_EQ(operation->PendingMarker(), -1);
  auto callback = zelta::QueryAs<zelta::IOperationCallback>(
      static_cast<zelta::IHostOperation*>(operation.Get()));
  ASSERT_TRUE(callback);
  EXPECT_EQ(callback->Notify(), zelta::S_OK);
  EXPECT_EQ(operation->PendingMarker(), 0);
}

}  // namespace
}  // namespace bm::testing
