// Validate Bookmarks against the real host: which bookmarks are reported with which bits,
// the input of selected bookmarks, the listener, and that nothing changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/validation.h"
#include "tests/harness/operation_run.h"
#include "tools/tree/vb_operation.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::testing::Action;
using zelta::testing::ActionSpec;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

constexpr int32_t kAllChecks = 0xFF;

OutlineSpec WithActions(std::string title, std::vector<ActionSpec> actions) {
  OutlineSpec layout = Mark(std::move(title));
  layout.actions = std::move(actions);
  return layout;
}

// Ten pages, and one bookmark for each kind of fault (their titles say which).
PdfSpec Faults() {
  PdfSpec layout;
  layout.pages.resize(10);
  layout.namedDests = {{"known", 2}};
  ActionSpec remoteWithoutFile = Action("GoToR");
  remoteWithoutFile.page = 3;
  ActionSpec launch = Action("Launch");
  launch.file = "no-such-file.pdf";
  ActionSpec named = Action("Named");  // without the /N it needs
  OutlineSpec good = Mark("good", 9);
  good.children.push_back(Mark("", 1));
  good.children.push_back(NamedMark("known name", "known"));
  layout.outline = {
      good,
      NamedMark("unknown name", "deleted"),
      Mark("no actions"),
      WithActions("empty uri", {UriAction("")}),
      WithActions("remote without file", {remoteWithoutFile}),
      WithActions("launch", {launch}),
      WithActions("named", {named}),
      WithActions("uri only", {UriAction("http://example.com")}),
  };
  return layout;
}

class Validation : public OperationRun {
 protected:
  ComPtr<VBOperation> Operation(int32_t checks, std::vector<zelta::IUnknown*> bookmarks = {}) {
    auto operation = Make<VBOperation>(bookmarks);
    operation->Options()->SetInt(u"Flags", checks);
    return operation;
  }

  // Title -> warning bits of a run.
  std::map<std::u16string, int32_t> Findings(int32_t checks) {
    auto operation = Operation(checks);
    EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
    std::map<std::u16string, int32_t> findings;
    for (const auto& record : operation->Records())
      findings[TitleOf(record.bookmark.Get())] = record.warnings;
    return findings;
  }
};

TEST_F(Validation, ReportsEachFaultWithItsBits) {
  Open(Faults());
  auto findings = Findings(kAllChecks & ~zelta::kVbCheckMissingGoTo);
  EXPECT_EQ(findings, (std::map<std::u16string, int32_t>{
                          {u"", zelta::kWarnEmptyTitle},
                          {u"unknown name", zelta::kWarnUnknownDestName},
                          {u"no actions", zelta::kWarnNoActions},
                          {u"empty uri", zelta::kWarnInvalidAction | 0x10000},
                          {u"remote without file", zelta::kWarnNoTargetFile},
                          {u"launch", zelta::kWarnInvalidAction | 0x8000},
                          {u"named", zelta::kWarnInvalidAction | 0x100000},
                      }));
  // Validation only reads.
  EXPECT_EQ(Now(), before_);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
}

TEST_F(Validation, ChecksAreIndependent) {
  Open(Faults());
  // Only the launch and URI rule, and a launched file that need not exist.
  EXPECT_EQ(
      Findings(zelta::kVbCheckLaunchUri),
      (std::map<std::u16string, int32_t>{{u"empty uri", zelta::kWarnInvalidAction | 0x10000}}));
  // Missing go-to actions: an empty action list counts once, as "no actions".
  auto findings = Findings(zelta::kVbCheckMissingGoTo | zelta::kVbCheckNoActions);
  EXPECT_EQ(findings[u"no actions"], zelta::kWarnNoActions);
  EXPECT_EQ(findings[u"uri only"], zelta::kWarnNoGoTo);
  EXPECT_EQ(findings.count(u"good"), 0u);
  EXPECT_EQ(Findings(zelta::kVbCheckMissingGoTo)[u"no actions"], zelta::kWarnNoGoTo);
  EXPECT_TRUE(Findings(0).empty());
}

TEST_F(Validation, LaunchedFilesAreLookedUpBesideTheDocument) {
  PdfSpec layout;
  ActionSpec launch = Action("Launch");
  launch.file = "beside.txt";
  layout.outline = {WithActions("launch", {launch})};
  Open(layout);
  zelta::OwnedString path;
  document_->GetFilePath(path.Put());
  const auto beside = std::filesystem::path(path.Str()).parent_path() / "beside.txt";
  EXPECT_EQ(Findings(zelta::kVbCheckLaunchUri | zelta::kVbVerifyFiles)[u"launch"],
            zelta::kWarnInvalidAction | 0x8000);
  std::ofstream(beside) << "x";
  EXPECT_TRUE(Findings(zelta::kVbCheckLaunchUri | zelta::kVbVerifyFiles).empty());
  std::filesystem::remove(beside);
}

TEST_F(Validation, PageOutOfRange) {
  // A go-to whose page index is the page count: the builder writes a remote action, which is
  // then turned into a local one of the same length.
  PdfSpec layout;
  layout.pages.resize(10);
  ActionSpec past = Action("GoToR");
  past.page = 10;
  ActionSpec last = Action("GoToR");
  last.page = 9;
  layout.outline = {WithActions("past", {past}), WithActions("last", {last})};
  std::string bytes = zelta::testing::BuildPdf(layout);
  for (size_t at = 0; (at = bytes.find("/S /GoToR /F <>")) != std::string::npos;)
    bytes.replace(at, 15, "/S /GoTo       ");
  OpenBytes(bytes);
  EXPECT_EQ(Findings(zelta::kVbCheckGoTo),
            (std::map<std::u16string, int32_t>{{u"past", zelta::kWarnPageOutOfRange}}));
}

TEST_F(Validation, SelectedBookmarksAreValidatedWithoutTheirChildren) {
  Open(Faults());
  auto good = BookmarkAt(document_.Get(), {1});
  auto named = BookmarkAt(document_.Get(), {7});
  auto operation = Operation(kAllChecks, {named.Get(), good.Get()});
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
  ASSERT_EQ(operation->Records().size(), 1u);
  EXPECT_EQ(operation->Records()[0].bookmark.Get(), named.Get());

  // "Output" holds the same record as a VBOutItem.
  ComPtr<zelta::ICabItem> record;
  ASSERT_EQ(operation->Output()->GetItemAt(0, record.Put()), zelta::S_OK);
  EXPECT_EQ(CabObject(record.Get(), u"Bookmark").Get(), static_cast<zelta::IUnknown*>(named.Get()));
  EXPECT_EQ(CabInt(record.Get(), u"Warnings", 0),
            zelta::kWarnInvalidAction | 0x100000 | zelta::kWarnNoGoTo);
}

class RecordingListener : public ValidationListener {
 public:
  void OnTotal(double value) override { total = value; }
  bool IsCancelled() override { return ++asked > cancelAfter; }
  void OnRecord(zelta::IHostBookmark*, int32_t warnings) override { records.push_back(warnings); }
  void OnFinished(HRESULT hr) override { finished.push_back(hr); }

  double total = -1;
  int asked = 0;
  int cancelAfter = 1000;
  std::vector<int32_t> records;
  std::vector<HRESULT> finished;
};

TEST_F(Validation, ListenerHearsTotalRecordsAndEnd) {
  Open(Faults());
  RecordingListener listener;
  auto operation = Operation(kAllChecks);
  operation->SetListener(&listener);
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
  EXPECT_EQ(listener.total, 10.0);
  EXPECT_EQ(listener.asked, 10);
  EXPECT_EQ(listener.records.size(), operation->Records().size());
  EXPECT_EQ(listener.finished, std::vector<HRESULT>{zelta::S_OK});
}

TEST_F(Validation, CancelLeavesOutputUnwritten) {
  Open(Faults());
  RecordingListener listener;
  listener.cancelAfter = 5;  // before the sixth bookmark ("no actions" is the fifth)
  auto operation = Operation(kAllChecks);
  operation->SetListener(&listener);
  EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::E_CANCELLED);
  EXPECT_EQ(listener.records.size(), 3u);  // the empty title, the unknown name, no actions
  EXPECT_EQ(listener.finished, std::vector<HRESULT>{zelta::E_CANCELLED});
  EXPECT_TRUE(CabObjects(operation->Output().Get()).empty());
}

TEST(ValidationMessages, LinesFollowTheBitsAndNameTheFirstType) {
  auto lines = zelta::ValidationMessages(zelta::kWarnPageOutOfRange | zelta::kWarnEmptyTitle |
                                         zelta::kWarnInvalidAction | 0x1000000 | 0x10000);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].id, u"bookmarksPlugin.op.ValidateBookmarks.msg.emptyTitle");
  EXPECT_EQ(lines[1].id, u"bookmarksPlugin.op.ValidateBookmarks.msg.invalidAction");
  EXPECT_EQ(lines[1].insert, u"URI");  // URI comes before JavaScript in the naming order
  EXPECT_EQ(lines[2].id, u"bookmarksPlugin.op.ValidateBookmarks.msg.goto.invalidPageNumber");
  // Thread is named before Sound although its bit is higher.
  EXPECT_EQ(zelta::ValidationMessages(zelta::kWarnInvalidAction | 0x20000 | 0x20000000)[0].insert,
            u"Thread");
  EXPECT_EQ(zelta::ValidationMessages(zelta::kWarnInvalidAction)[0].insert, u"");
  EXPECT_EQ(zelta::ActionTypeBitOf(u"uri"), 0);  // names are case-sensitive
}

}  // namespace
}  // namespace bm::testing
