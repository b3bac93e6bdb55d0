// The set-up every operation test repeats: the real host with the plug-in, one open document,
// a new operation whose Input is that document (then any bookmarks), and its undo history.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cab_access.h"
#include "host/undo.h"
#include "tests/harness/core_host.h"
#include "zelta/pdf/host_document.h"

namespace bm::testing {

class OperationRun : public ::testing::Test {
 protected:
  using Texts = std::vector<std::u16string>;

  void Open(const zelta::testing::PdfSpec& layout) { Opened(host_.Open(layout)); }
  void OpenBytes(const std::string& bytes) { Opened(host_.OpenBytes(bytes)); }

  template <class Operation>
  zelta::ComPtr<Operation> Make(const std::vector<zelta::IUnknown*>& bookmarks = {}) {
    auto operation = NewOperation<Operation>(&host_.Plugin());
    std::vector<zelta::IUnknown*> input{document_.Get()};
    input.insert(input.end(), bookmarks.begin(), bookmarks.end());
    SetCabObjects(operation->Input().Get(), input);
    return operation;
  }

  Texts Now() { return Titles(document_.Get()); }
  zelta::ComPtr<zelta::IHostUndoHistory> History() {
    zelta::ComPtr<zelta::IHostUndoHistory> history;
    if (document_) document_->GetUndoHistory(history.Put());
    return history;
  }

  // The run just made is one undo step with this label; undo brings back the titles from
  // before it, redo the titles after it.
  void ExpectOneUndoStep(std::u16string_view label) {
    const Texts after = Now();
    ASSERT_EQ(UndoCount(document_.Get()), 1);
    auto history = History();
    zelta::OwnedString name;
    history->GetLabel(0, name.Put());
    EXPECT_EQ(name.View(), label);
    ASSERT_EQ(history->Undo(), zelta::S_OK);
    EXPECT_EQ(Now(), before_);
    ASSERT_EQ(history->Redo(), zelta::S_OK);
    EXPECT_EQ(Now(), after);
  }

  // The document as it is now, saved to a file named after the running test.
  std::string Save() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path =
        ::testing::TempDir() + test->test_suite_name() + "-" + test->name() + ".pdf";
    std::string error;
    EXPECT_EQ(dynamic_cast<zelta::pdf::HostDocument*>(document_.Get())->Save(path, &error),
              zelta::S_OK)
        << error;
    return path;
  }

  CoreHost host_;
  zelta::ComPtr<zelta::IHostDocument> document_;
  Texts before_;  // the titles when the document was opened

 private:
  void Opened(zelta::ComPtr<zelta::IHostDocument> document) {
    document_ = std::move(document);
    ASSERT_TRUE(document_);
    before_ = Now();
  }
};

}  // namespace bm::testing
