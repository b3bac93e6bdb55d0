// Validate, Sort and Convert To Named Destinations over large outlines (10,000 and 100,000
// bookmarks spread over three levels as real documents are) and over the largest corpus
// document; the host's move and delete of a bookmark that carries 10,000 others, as a flat
// list of children (argument 0) and as a chain 10,000 deep (argument 1), each with the write
// of the changed outline. Each timed run starts from a freshly opened document.
#include <benchmark/benchmark.h>

#include <random>

#include "framework/cab_access.h"
#include "tests/harness/core_host.h"
#include "tests/harness/host_operation_call.h"
#include "tools/title/bnd_operation.h"
#include "tools/tree/sb_operation.h"
#include "tools/tree/vb_operation.h"
#include "zelta/pdf/host_document.h"

namespace {

using bm::testing::CoreHost;
using zelta::ComPtr;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// n bookmarks: n/100 chapters, each with 9 sections of 10 subsections; random titles and
// target pages, so sorting has real work to do.
const std::string& LargeOutline(int n) {
  static std::map<int, std::string> cache;
  auto& bytes = cache[n];
  if (!bytes.empty()) return bytes;
  std::mt19937 random(n);
  auto title = [&] {
    std::string text;
    for (int i = 0; i < 12; ++i) text.push_back(static_cast<char>('a' + random() % 26));
    return text;
  };
  PdfSpec layout;
  layout.pages.resize(200);
  auto mark = [&] { return bm::testing::Mark(title(), static_cast<int>(random() % 200)); };
  for (int c = 0; c < n / 100; ++c) {
    OutlineSpec chapter = mark();
    for (int s = 0; s < 9; ++s) {
      OutlineSpec section = mark();
      for (int k = 0; k < 10; ++k) section.children.push_back(mark());
      chapter.children.push_back(std::move(section));
    }
    layout.outline.push_back(std::move(chapter));
  }
  bytes = zelta::testing::BuildPdf(layout);
  return bytes;
}

const std::string& Corpus() {
  static const std::string bytes = zelta::testing::ReadFile(ZELTA_CORPUS_DIR "/R-intro.pdf");
  return bytes;
}

template <class Operation>
void RunOn(benchmark::State& state, const std::string& bytes, int32_t flags) {
  CoreHost host;
  for (auto _ : state) {
    state.PauseTiming();
    auto document = host.OpenBytes(bytes);
    auto operation = bm::testing::NewOperation<Operation>(&host.Plugin());
    operation->Options()->SetInt(u"Flags", flags);
    bm::SetCabObjects(operation->Input().Get(), {document.Get()});
    state.ResumeTiming();
    zelta::HRESULT hr = operation->Do(zelta::kDoNoProgress, 0);
    if (zelta::Failed(hr)) state.SkipWithError("the run failed");
  }
}

void Validate(benchmark::State& state) {
  RunOn<bm::VBOperation>(state, LargeOutline(state.range(0)), 0xFF);
}
void SortByPlace(benchmark::State& state) {
  RunOn<bm::SBOperation>(state, LargeOutline(state.range(0)), 0);
}
void SortByTitle(benchmark::State& state) {
  RunOn<bm::SBOperation>(state, LargeOutline(state.range(0)), 0x9);
}
void ToNamedDests(benchmark::State& state) {
  RunOn<bm::BNDOperation>(state, LargeOutline(state.range(0)), 0);
}

// A top bookmark with 10,000 below it (children, or a chain when `deep`) and a second top
// bookmark to move it under.
const std::string& Branch(bool deep) {
  static std::map<bool, std::string> cache;
  auto& bytes = cache[deep];
  if (!bytes.empty()) return bytes;
  if (deep) return bytes = zelta::testing::DeepOutlinePdf(10001);
  PdfSpec layout;
  layout.pages.resize(2);
  OutlineSpec top = bm::testing::Mark("Top", 0);
  for (int i = 0; i < 10000; ++i)
    top.children.push_back(bm::testing::Mark("Item " + std::to_string(i + 1), i % 2));
  layout.outline.push_back(std::move(top));
  return bytes = zelta::testing::BuildPdf(layout);
}

// Runs the host operation on the top bookmark of Branch(state.range(0)); with `under`, the
// new second top bookmark is the operation's "Parent".
void RunOnBranch(benchmark::State& state, const char* operation, bool under) {
  CoreHost host;
  for (auto _ : state) {
    state.PauseTiming();
    auto document = host.OpenBytes(Branch(state.range(0) != 0));
    auto* pdf = static_cast<zelta::pdf::HostDocument*>(document.Get());
    ComPtr<zelta::IHostBookmark> root, top, other;
    document->GetOutlineRoot(root.Put());
    root->GetFirstChild(top.Put());
    root->InsertNewChild(-1, other.Put());
    pdf->GetOutline().Flush(pdf->Mu());
    auto op = zelta::testing::MakeHostOperation(host.App(), operation, {top.Get()}, [&](auto* o) {
      if (under) o->SetObject(u"Parent", other.Get());
    });
    state.ResumeTiming();
    zelta::HRESULT hr = host.App().RunOperation(op.Get(), 0, 0);
    if (zelta::Succeeded(hr)) hr = pdf->GetOutline().Flush(pdf->Mu());
    if (zelta::Failed(hr)) state.SkipWithError("the operation failed");
  }
}

void BM_MoveBranch(benchmark::State& state) { RunOnBranch(state, "op.bookmarks.move", true); }
void BM_DeleteBranch(benchmark::State& state) { RunOnBranch(state, "op.bookmarks.delete", false); }

void CorpusValidate(benchmark::State& state) { RunOn<bm::VBOperation>(state, Corpus(), 0xFF); }
void CorpusSortByPlace(benchmark::State& state) { RunOn<bm::SBOperation>(state, Corpus(), 0); }
void CorpusSortByTitle(benchmark::State& state) { RunOn<bm::SBOperation>(state, Corpus(), 0x9); }

BENCHMARK(Validate)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SortByPlace)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(SortByTitle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ToNamedDests)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MoveBranch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteBranch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CorpusValidate)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CorpusSortByPlace)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CorpusSortByTitle)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
