// The host's page and annotation operations as a tool runs them: pages inserted (with the
// page labels kept on the pages they labelled) and links recorded, then undone and redone.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

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

TEST_F(PageOperationTest, LinksMadeTogetherMatchLinksMadeOneByOneAndAreMadeWholeOrNotAtAll) {
  ASSERT_EQ(Insert(1, 0), S_OK);
  auto goTo = [&](int32_t page) {
    ComPtr<IHostActionList> actions;
    doc_->CreateActionList(actions.Put());
    PageDestination dest;
    dest.page = page;
    EXPECT_EQ(actions->AppendGoTo(&dest, nullptr), S_OK);
    return actions;
  };
  // The route one call at a time, for comparison.
  PageBox single{10, 10, 100, 30};
  ComPtr<IHostAnnotation> first;
  ASSERT_EQ(doc_->CreateAnnotation(0, u"Link", -1, &single, -1, first.Put()), S_OK);
  OwnedString name;
  ASSERT_EQ(first->ProposeName(name.Put()), S_OK);
  first->SetName(name.View().data(), static_cast<int32_t>(name.View().size()));
  ASSERT_EQ(first->SetActions(kTriggerActivate, goTo(3).Get()), S_OK);
  first->SetBorderWidth(0);

  const PageBox rects[] = {{10, 40, 100, 60}, {120, 40, 200, 60.5}};
  auto toPage2 = goTo(2);
  IHostActionList* actions[] = {toPage2.Get(), nullptr};
  IHostAnnotation* made[2] = {};
  ASSERT_EQ(doc_->CreateLinks(0, 2, rects, actions, made), S_OK);
  ComPtr<IHostAnnotation> links[] = {ComPtr<IHostAnnotation>::Adopt(made[0]),
                                     ComPtr<IHostAnnotation>::Adopt(made[1])};
  ASSERT_TRUE(links[0] && links[1]);
  int32_t count = 0;
  ASSERT_EQ(doc_->GetLinkCount(0, &count), S_OK);
  EXPECT_EQ(count, 3);
  for (int i = 0; i < 2; ++i) {
    PageBox rect;
    ComPtr<IHostActionList> read;
    ASSERT_EQ(doc_->GetLink(0, i + 1, &rect, read.Put()), S_OK);
    EXPECT_NEAR(rect.right, rects[i].right, 1e-3);
    EXPECT_NEAR(rect.top, rects[i].top, 1e-3);
    int32_t actionCount = -1;
    read->GetCount(&actionCount);
    EXPECT_EQ(actionCount, i == 0 ? 1 : 0);
    if (actionCount == 1) {
      ComPtr<IHostAction> action;
      read->GetItem(0, action.Put());
      PageDestination dest;
      ASSERT_EQ(action->GetDestination(&dest), S_OK);
      EXPECT_EQ(dest.page, 2);
    }
  }

  // Bad input leaves nothing on the page.
  const PageBox bad[] = {{10, 70, 100, 90}, {50, 70, 50, 90}};
  IHostActionList* none[] = {nullptr, nullptr};
  IHostAnnotation* refused[2] = {};
  EXPECT_EQ(doc_->CreateLinks(0, 2, bad, none, refused), E_INVALIDARG);
  EXPECT_EQ(doc_->CreateLinks(9, 1, rects, none, refused), E_INVALIDARG);
  EXPECT_FALSE(refused[0] || refused[1]);
  doc_->GetLinkCount(0, &count);
  EXPECT_EQ(count, 3);

  // Recorded as added with the rest; a link no longer on its page is refused.
  ASSERT_EQ(Run("op.annots.addNew", {first.Get(), links[0].Get(), links[1].Get()}), S_OK);
  auto history = app_->UndoHistoryOf(doc_.Get());
  ASSERT_EQ(history->Undo(), S_OK);
  doc_->GetLinkCount(0, &count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Run("op.annots.addNew", {links[1].Get()}), E_INVALIDARG);
  ASSERT_EQ(history->Redo(), S_OK);

  const std::string out = dir_.File("out.pdf");
  ASSERT_TRUE(pdf::testing::SaveOk(doc_.Get(), out));
  pdf::testing::ExpectQpdfClean(out);
  std::string shown;
  pdf::testing::RunCommand("mutool show '" + out + "' grep 2>&1 | grep /Link", &shown);
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = shown.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(shown.substr(start, end - start));
  ASSERT_EQ(lines.size(), 3u) << shown;
  std::set<std::string> names;
  for (const std::string& line : lines) {
    EXPECT_NE(line.find("/Border[0 0 0]"), std::string::npos) << line;
    EXPECT_NE(line.find("/P "), std::string::npos) << line;
    const size_t at = line.find("/NM(zelta-annot-");
    ASSERT_NE(at, std::string::npos) << line;
    names.insert(line.substr(at, line.find(')', at) - at));
  }
  EXPECT_EQ(names.size(), 3u) << shown;
  EXPECT_NE(lines[1].find("/A "), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2].find("/A "), std::string::npos) << lines[2];
  EXPECT_EQ(lines[2].find("/Dest"), std::string::npos) << lines[2];
}

}  // namespace
}  // namespace zelta::app
