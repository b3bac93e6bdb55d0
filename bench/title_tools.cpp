// Find and replace and add text over large outlines (10,000 and 100,000 bookmarks spread over
// three levels as real documents are: each chapter holds 9 sections of 10 subsections) and
// over the largest corpus document. The time per bookmark should stay flat from 10k to 100k.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "framework/cab_access.h"
#include "tests/harness/core_host.h"
#include "tools/title/atb_operation.h"
#include "tools/title/frt_operation.h"

namespace bm::testing {
namespace {

using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// Chapters of 100 bookmarks: the chapter, 9 sections, 90 subsections.
PdfSpec LargeOutline(int bookmarks) {
  PdfSpec layout;
  layout.pages.resize(50);
  int page = 0;
  for (int chapter = 0; chapter < bookmarks / 100; ++chapter) {
    OutlineSpec c = Mark("Chapter " + std::to_string(chapter + 1) + " of the manual", page++ % 50);
    for (int section = 0; section < 9; ++section) {
      OutlineSpec s = Mark("1." + std::to_string(section + 1) + " Section about data", page++ % 50);
      for (int sub = 0; sub < 10; ++sub)
        s.children.push_back(Mark("Subsection on chapter text", page++ % 50));
      c.children.push_back(std::move(s));
    }
    layout.outline.push_back(std::move(c));
  }
  return layout;
}

template <class Operation>
void RunOnce(benchmark::State& state, CoreHost& host, zelta::IHostDocument* document,
             void (*setOptions)(zelta::ICabItem*)) {
  auto operation = bm::testing::NewOperation<Operation>(&host.Plugin());
  setOptions(operation->Options().Get());
  SetCabObjects(operation->Input().Get(), {document});
  const zelta::HRESULT hr = operation->Do(zelta::kDoNoProgress, 0);
  if (zelta::Failed(hr)) state.SkipWithError("the run failed");
}

void FindReplaceOptions(zelta::ICabItem* options) {
  options->SetInt(u"Flags", kFrtRegex);
  SetCabStrings(CabItem(options, u"FindWords").Get(), {u"^(\\d+)\\.(\\d+)"});
  SetCabStrings(CabItem(options, u"ReplaceWords").Get(), {u"$2.$1"});
}

void LiteralOptions(zelta::ICabItem* options) {
  SetCabStrings(CabItem(options, u"FindWords").Get(), {u"chapter"});
  SetCabStrings(CabItem(options, u"ReplaceWords").Get(), {u"Part"});
}

void AddTextOptions(zelta::ICabItem* options) {
  options->SetText(u"Prefix", u"%[HierIndex] ", -1);
  options->SetText(u"Suffix", u" (p. %[Page])", -1);
}

template <class Operation, void (*Options)(zelta::ICabItem*)>
void BM_LargeOutline(benchmark::State& state) {
  CoreHost host;
  const PdfSpec layout = LargeOutline(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto document = host.Open(layout);
    state.ResumeTiming();
    RunOnce<Operation>(state, host, document.Get(), Options);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class Operation, void (*Options)(zelta::ICabItem*)>
void BM_Corpus(benchmark::State& state) {
  CoreHost host;
  // The largest corpus document.
  std::filesystem::path largest;
  for (const auto& entry : std::filesystem::directory_iterator(ZELTA_CORPUS_DIR))
    if (entry.path().extension() == ".pdf" &&
        (largest.empty() || entry.file_size() > std::filesystem::file_size(largest)))
      largest = entry.path();
  const std::string bytes = zelta::testing::ReadFile(largest.string());
  for (auto _ : state) {
    state.PauseTiming();
    auto document = host.OpenBytes(bytes);
    state.ResumeTiming();
    RunOnce<Operation>(state, host, document.Get(), Options);
  }
}

BENCHMARK(BM_LargeOutline<FRTOperation, FindReplaceOptions>)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LargeOutline<FRTOperation, LiteralOptions>)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LargeOutline<ATBOperation, AddTextOptions>)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_Corpus<FRTOperation, LiteralOptions>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Corpus<ATBOperation, AddTextOptions>)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace bm::testing

BENCHMARK_MAIN();
