// The host's page and annotation operations as a tool runs them: pages inserted (with the
// page labels kept on the pages they labelled) and links recorded, then undone and redone.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/harness/host_operation_call.h"
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/app/host_app.h"
#include "zelta/base/atom_table.h"
#include "zelta/pdf/host_document.h"

namespace zelta::app {
namespace {

using zelta::testing::LabelSpec;
using zelta::testing::PdfSpec;

class PageOperationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PdfSpec layout;
    layout.pages.resize(4);
    layout.labels = {LabelSpec{0, 'r', "", 1}, LabelSpec{2, 'D', "P-", 1}};
    std::string error;
    ASSERT_EQ(app_->OpenDocument(dir_.Write("in.pdf", zelta::testing::BuildPdf(layout)), "", &doc_,
                                 &error),
              S_OK)
        << error;
  }
  HRESULT Run(const char* id, std::vector<IUnknown*> input,
              std::function<void(ICabItem*)> configure = nullptr) {
    auto op = zelta::testing::MakeHostOperation(*app_, id, std::move(input), std::move(configure));
    return app_->RunOperation(op.Get(), 0, 0);
  }
  HRESULT Insert(int32_t count, int32_t position, double width = 300, double height = 400) {
    return Run("op.document.insertEmptyPages", {static_cast<IHostDocument*>(doc_.Get())},
               [&](ICabItem* options) {
                 options->SetInt(u"Count", count);
                 options->SetInt(u"Position", position);
                 options->SetDouble(u"Width", width);
                 options->SetDouble(u"Height", height);
               });
  }
  std::vector<std::u16string> Labels() {
    int32_t count = 0;
    doc_->GetPageCount(&count);
    std::vector<std::u16string> labels;
    for (int32_t page = 0; page < count; ++page) {
      OwnedString label;
      doc_->GetPageLabel(page, label.Put());
      labels.emplace_back(label.View());
    }
    return labels;
  }

  pdf::testing::ScratchDir dir_;
  ComPtr<HostApp> app_ = MakeCom<HostApp>();
  ComPtr<pdf::HostDocument> doc_;
};

TEST_F(PageOperationTest, InsertedPagesLeaveEveryPageItsLabelAndUndoExactly) {
  const auto before = Labels();
  ASSERT_EQ(before, (std::vector<std::u16string>{u"i", u"ii", u"P-1", u"P-2"}));
  struct Case {
    int32_t position;
    std::vector<std::u16string> labels;
  } cases[] = {
      {0, {u"i", u"ii", u"i", u"ii", u"P-1", u"P-2"}},
      {1, {u"i", u"ii", u"iii", u"ii", u"P-1", u"P-2"}},
      {2, {u"i", u"ii", u"iii", u"iv", u"P-1", u"P-2"}},
      {4, {u"i", u"ii", u"P-1", u"P-2", u"P-3", u"P-4"}},
  };
  auto history = app_->UndoHistoryOf(doc_.Get());
  for (const Case& c : cases) {
    ASSERT_EQ(Insert(2, c.position), S_OK) << c.position;
    EXPECT_EQ(Labels(), c.labels) << c.position;
    PageBox box;
    ASSERT_EQ(doc_->GetPageBox(c.position, kBoxCrop, &box), S_OK);
    EXPECT_DOUBLE_EQ(box.right, 300);
    EXPECT_DOUBLE_EQ(box.top, 400);
    ASSERT_EQ(history->Undo(), S_OK);
    EXPECT_EQ(Labels(), before) << c.position;
  }
  ASSERT_EQ(history->Redo(), S_OK);
  EXPECT_EQ(Labels(), cases[3].labels);
  ASSERT_TRUE(pdf::testing::SaveOk(doc_.Get(), dir_.File("out.pdf")));
  pdf::testing::ExpectQpdfClean(dir_.File("out.pdf"));
}

TEST_F(PageOperationTest, OptionsOutOfRangeAreRefusedAndChangeNothing) {
  const std::pair<int32_t, int32_t> countAndPosition[] = {
      {0, 0}, {-1, 0}, {100001, 0}, {1, 5}, {1, -1}};
  for (auto [count, position] : countAndPosition)
    EXPECT_EQ(Insert(count, position), E_INVALIDARG) << count << " at " << position;
  for (double side : {0.0, 2.0, 20000.0, std::nan("")})
    EXPECT_EQ(Insert(1, 0, side, 400), E_INVALIDARG) << side;
  int32_t pages = 0, steps = 0;
  doc_->GetPageCount(&pages);
  app_->UndoHistoryOf(doc_.Get())->GetUndoCount(&steps);
  EXPECT_EQ(pages, 4);
  EXPECT_EQ(steps, 0);
}

TEST_F(PageOperationTest, LinksAreRecordedAsAddedAndUndoneWithTheirPages) {
  ASSERT_EQ(Insert(1, 0), S_OK);
  ComPtr<IHostAnnotation> link;
  PageBox rect{10, 10, 100, 30};
  ASSERT_EQ(doc_->CreateAnnotation(0, u"Link", -1, &rect, -1, link.Put()), S_OK);
  ComPtr<IHostActionList> actions;
  doc_->CreateActionList(actions.Put());
  PageDestination dest;
  dest.page = 3;
  ASSERT_EQ(actions->AppendGoTo(&dest, nullptr), S_OK);
  ASSERT_EQ(link->SetActions(kTriggerActivate, actions.Get()), S_OK);
  ASSERT_EQ(link->SetBorderWidth(0), S_OK);
  ASSERT_EQ(Run("op.annots.addNew", {link.Get()}), S_OK);
  ComPtr<IHostAnnotation> other;
  EXPECT_EQ(doc_->CreateAnnotation(0, u"Widget", -1, &rect, -1, other.Put()), E_INVALIDARG);
  rect.right = rect.left;
  EXPECT_EQ(doc_->CreateAnnotation(0, u"Link", -1, &rect, -1, other.Put()), E_INVALIDARG);

  auto page = [&] {
    int32_t index = -2;
    link->GetPageIndex(&index);
    return index;
  };
  EXPECT_EQ(page(), 0);
  auto history = app_->UndoHistoryOf(doc_.Get());
  ASSERT_EQ(history->Undo(), S_OK);
  EXPECT_EQ(page(), -1);
  ASSERT_EQ(history->Redo(), S_OK);
  EXPECT_EQ(page(), 0);
  const std::string out = dir_.File("out.pdf");
  ASSERT_TRUE(pdf::testing::SaveOk(doc_.Get(), out));
  pdf::testing::ExpectQpdfClean(out);
  std::string links;
  pdf::testing::RunCommand("mutool show '" + out + "' grep 2>&1 | grep /Link", &links);
  EXPECT_NE(links.find("/Border[0 0 0]"), std::string::npos) << links;
  EXPECT_NE(links.find("/A "), std::string::npos) << links;
}

}  // namespace
}  // namespace zelta::app
