// The real manuals of the corpus with their outlines removed: the outline generated with the
// bundled options must score F1 >= 0.97 against each manual's own outline, and the one
// generated unattended, with the options the document's typography suggests, F1 >= 0.95
// (section numbers stripped on both sides). Manuals without bundled options are held to the
// suggestion alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "autogen/agb_operation.h"
#include "autogen/agb_suggest_operation.h"
#include "framework/cab_access.h"
#include "tests/harness/core_host.h"
#include "tests/harness/saved_pdf.h"
#include "zelta/app/cab/cab_json.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;

class CorpusGeneration : public ::testing::TestWithParam<const char*> {};

TEST_P(CorpusGeneration, BundledOptionsReproduceTheOutline) {
  const std::string name = GetParam();
  const std::string pdf = std::string(ZELTA_CORPUS_DIR) + "/" + name + ".pdf";
  ASSERT_TRUE(std::ifstream(pdf)) << "corpus file missing: " << pdf;
  CoreHost host;
  auto document = host.OpenBytes(zelta::testing::ReadFile(pdf));
  ASSERT_TRUE(document);
  const nlohmann::json truth = OutlineRows(document.Get());
  ASSERT_FALSE(truth.empty());
  RemoveOutline(document.Get());

  std::ifstream in(std::string(ZELTA_SOURCE_DIR) + "/samples/" + name + ".options.json");
  ASSERT_TRUE(in);
  const nlohmann::json options = nlohmann::json::parse(in);
  // Page text prepared ahead on the host's second thread (the default) or read on this one.
  auto generate = [&](int32_t prefetchWindow) {
    auto operation = NewOperation<AGBOperation>(&host.Plugin());
    std::string error;
    EXPECT_EQ(zelta::app::CabFromJson(operation->Options().Get(), options, &error), zelta::S_OK)
        << error;
    SetCabObjects(operation->Input().Get(), {document.Get()});
    operation->SetPrefetchWindow(prefetchWindow);
    EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
    nlohmann::json rows = OutlineRows(document.Get());
    RemoveOutline(document.Get());
    return rows;
  };
  const nlohmann::json generated = generate(-1);
  EXPECT_GE(OutlineF1(truth, generated, name), 0.97) << name;
  EXPECT_EQ(generate(0), generated);
}

INSTANTIATE_TEST_SUITE_P(Manuals, CorpusGeneration, ::testing::Values("R-intro", "R-data"));

// Unattended: the options the document's typography suggests must reach `floor`. Manuals of
// other typesetting systems (tests/corpus/other), without bundled options, must also leave
// the suggestion sure of its headings.
struct Suggested {
  const char* file;  // under the corpus folder, without ".pdf"
  double floor;
  bool sure;
};

void PrintTo(const Suggested& suggested, std::ostream* out) { *out << suggested.file; }

class SuggestedGeneration : public ::testing::TestWithParam<Suggested> {};

TEST_P(SuggestedGeneration, SuggestedOptionsReproduceTheOutline) {
  const auto [file, floor, sure] = GetParam();
  const std::string name = std::filesystem::path(file).filename().string();
  CoreHost host;
  auto document =
      host.OpenBytes(zelta::testing::ReadFile(std::string(ZELTA_CORPUS_DIR) + "/" + file + ".pdf"));
  ASSERT_TRUE(document);
  const nlohmann::json truth = OutlineRows(document.Get());
  RemoveOutline(document.Get());
  auto suggestion = NewOperation<AGBSuggestOperation>(&host.Plugin());
  SetCabObjects(suggestion->Input().Get(), {document.Get()});
  ASSERT_EQ(suggestion->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
  if (sure) {
    EXPECT_EQ(CabText(suggestion->Output().Get(), u"Doubt", u"x"), u"");
  }
  auto operation = NewOperation<AGBOperation>(&host.Plugin());
  ASSERT_EQ(operation->Options()->CopyFrom(CabItem(suggestion->Output().Get(), u"Options").Get()),
            zelta::S_OK);
  SetCabObjects(operation->Input().Get(), {document.Get()});
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_GE(OutlineF1(truth, OutlineRows(document.Get()), name + "-suggested"), floor) << name;
}

INSTANTIATE_TEST_SUITE_P(Manuals, SuggestedGeneration,
                         ::testing::Values(Suggested{"R-intro", 0.95, false},
                                           Suggested{"R-data", 0.95, false},
                                           Suggested{"other/reportlab-userguide", 0.95, true},
                                           Suggested{"other/freefem", 0.9, true}),
                         [](const ::testing::TestParamInfo<Suggested>& info) {
                           std::string name = std::filesystem::path(info.param.file).filename();
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace bm::testing
