// The real manuals of the corpus with their outlines removed: the outline generated with the
// bundled options must score F1 >= 0.97 against each manual's own outline, and the one
// generated unattended, with the options the document's typography suggests, F1 >= 0.95
// (section numbers stripped on both sides). Manuals without bundled options are held to the
// suggestion alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "autogen/agb_operation.h"
#include "autogen/agb_suggest_operation.h"
#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "platform/locale_text.h"
#include "tests/harness/core_host.h"
#include "zelta/app/cab/cab_json.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;

// The outline as [level, title, page] rows, the form the scoring tool reads.
nlohmann::json OutlineRows(zelta::IHostDocument* document) {
  nlohmann::json rows = nlohmann::json::array();
  ComPtr<zelta::IHostBookmark> root;
  document->GetOutlineRoot(root.Put());
  WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark* bookmark, int32_t level) {
    rows.push_back({level, platform::Utf16ToUtf8(TitleOf(bookmark)), TargetOf(bookmark).page + 1});
    return zelta::S_OK;
  });
  return rows;
}

void RemoveOutline(zelta::IHostDocument* document) {
  ComPtr<zelta::IHostBookmark> root, child;
  document->GetOutlineRoot(root.Put());
  while (root->GetFirstChild(child.Put()) == zelta::S_OK && child)
    ASSERT_EQ(child->Remove(), zelta::S_OK);
}

double Score(const nlohmann::json& truth, const nlohmann::json& generated,
             const std::string& name) {
  const std::string dir = ::testing::TempDir();
  const std::string truthFile = dir + name + "-truth.json",
                    generatedFile = dir + name + "-generated.json";
  std::ofstream(truthFile) << truth.dump();
  std::ofstream(generatedFile) << generated.dump();
  const std::string command = "/usr/bin/python3 " ZELTA_SOURCE_DIR
                              "/scripts/score-outline --strip-numbers --json " +
                              truthFile + " " + generatedFile;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string out;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  if (pclose(pipe) != 0) return -1;
  auto result = nlohmann::json::parse(out, nullptr, false);
  if (result.is_discarded()) return -1;
  // The F1 of (title, page) pairs.
  if (result.contains("pairs") && result["pairs"].contains("f1"))
    return result["pairs"]["f1"].get<double>();
  ADD_FAILURE() << "unexpected scoring output: " << out;
  return -1;
}

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
  EXPECT_GE(Score(truth, generated, name), 0.97) << name;
  EXPECT_EQ(generate(0), generated);
}

TEST_P(CorpusGeneration, SuggestedOptionsReproduceTheOutline) {
  const std::string name = GetParam();
  CoreHost host;
  auto document =
      host.OpenBytes(zelta::testing::ReadFile(std::string(ZELTA_CORPUS_DIR) + "/" + name + ".pdf"));
  ASSERT_TRUE(document);
  const nlohmann::json truth = OutlineRows(document.Get());
  RemoveOutline(document.Get());
  auto suggestion = NewOperation<AGBSuggestOperation>(&host.Plugin());
  SetCabObjects(suggestion->Input().Get(), {document.Get()});
  ASSERT_EQ(suggestion->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
  auto operation = NewOperation<AGBOperation>(&host.Plugin());
  ASSERT_EQ(operation->Options()->CopyFrom(CabItem(suggestion->Output().Get(), u"Options").Get()),
            zelta::S_OK);
  SetCabObjects(operation->Input().Get(), {document.Get()});
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_GE(Score(truth, OutlineRows(document.Get()), name + "-suggested"), 0.95) << name;
}

INSTANTIATE_TEST_SUITE_P(Manuals, CorpusGeneration, ::testing::Values("R-intro", "R-data"));

// Manuals of other typesetting systems (tests/corpus/other, apart from the manuals every
// corpus test reads), without bundled options: the suggestion alone must find their headings,
// sure of them, with an F1 of at least `floor`.
struct Unbundled {
  const char* name;
  double floor;
};

class UnbundledGeneration : public ::testing::TestWithParam<Unbundled> {};

TEST_P(UnbundledGeneration, SuggestedOptionsReproduceTheOutline) {
  const auto [name, floor] = GetParam();
  CoreHost host;
  auto document = host.OpenBytes(
      zelta::testing::ReadFile(std::string(ZELTA_CORPUS_DIR) + "/other/" + name + ".pdf"));
  ASSERT_TRUE(document);
  const nlohmann::json truth = OutlineRows(document.Get());
  RemoveOutline(document.Get());
  auto suggestion = NewOperation<AGBSuggestOperation>(&host.Plugin());
  SetCabObjects(suggestion->Input().Get(), {document.Get()});
  ASSERT_EQ(suggestion->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
  EXPECT_EQ(CabText(suggestion->Output().Get(), u"Doubt", u"x"), u"");
  auto operation = NewOperation<AGBOperation>(&host.Plugin());
  ASSERT_EQ(operation->Options()->CopyFrom(CabItem(suggestion->Output().Get(), u"Options").Get()),
            zelta::S_OK);
  SetCabObjects(operation->Input().Get(), {document.Get()});
  ASSERT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
  EXPECT_GE(Score(truth, OutlineRows(document.Get()), std::string(name) + "-suggested"), floor)
      << name;
}

INSTANTIATE_TEST_SUITE_P(Manuals, UnbundledGeneration,
                         ::testing::Values(Unbundled{"reportlab-userguide", 0.95},
                                           Unbundled{"freefem", 0.9}),
                         [](const ::testing::TestParamInfo<Unbundled>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace bm::testing
