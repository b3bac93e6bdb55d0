// Generation from page text against its floor, the host's plain text extraction of the same
// pages, measured in the same run: the largest corpus manual with its bundled options (read
// page by page on this thread, and with the host preparing the next pages on its second
// thread), the scan alone over text extracted beforehand, and a level without criteria on a
// 2,000-page document (every page's whole text one title).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "autogen/page_scanner.h"
#include "autogen/page_source.h"
#include "framework/cab_access.h"
#include "host/undo.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/core_host.h"
#include "zelta/app/cab_json.h"

namespace {

using zelta::ComPtr;

struct Fixture {
  std::unique_ptr<bm::testing::CoreHost> host = std::make_unique<bm::testing::CoreHost>();
  ComPtr<zelta::IHostDocument> document;
  nlohmann::json options;
  int32_t pages = 0;
};

Fixture& Manual() {
  static Fixture fixture = [] {
    Fixture f;
    f.document = f.host->OpenBytes(zelta::testing::ReadFile(ZELTA_CORPUS_DIR "/R-intro.pdf"));
    // The bundled options, beside this file's folder (CMake compiles it by its full path).
    std::ifstream in(std::filesystem::path(__FILE__).parent_path().parent_path() / "samples" / "R-intro.options.json");
    f.options = nlohmann::json::parse(in, nullptr, false);
    f.document->GetPageCount(&f.pages);
    return f;
  }();
  return fixture;
}

Fixture& LongDocument() {
  static Fixture fixture = [] {
    using namespace zelta::testing;
    Fixture f;
    TextPdfSpec layout;
    for (int p = 0; p < 2000; ++p) {
      TextPageSpec page;
      for (int l = 0; l < 30; ++l)
        page.lines.push_back({72, 740.0 - 20 * l, {{"Line " + std::to_string(l) + " of page " + std::to_string(p) +
                                                       " with some words to read", kRegular, 10}}});
      layout.pages.push_back(page);
    }
    f.document = f.host->OpenBytes(BuildTextPdf(layout));
    f.options = nlohmann::json{{"Levels", nlohmann::json::array({{{"Index", 1}}})}};
    f.document->GetPageCount(&f.pages);
    return f;
  }();
  return fixture;
}

// The floor: every page's text from the host on this thread, each character looked at once.
void ExtractAll(Fixture& f, benchmark::State& state) {
  auto service = bm::PageTextService(&f.host->App());
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int32_t p = 0; p < f.pages; ++p) {
      ComPtr<zelta::IHostPageText> text;
      service->GetPageText(f.document.Get(), p, text.Put());
      const zelta::PageTextChar* chars = nullptr;
      int32_t count = 0;
      text->GetChars(&chars, &count);
      for (int32_t i = 0; i < count; ++i) sum += chars[i].flags;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["pages"] = f.pages;
}

// One generation run; its bookmarks are undone outside the timing.
void Generate(Fixture& f, benchmark::State& state, int32_t window) {
  ComPtr<zelta::IHostUndoHistory> history;
  f.document->GetUndoHistory(history.Put());
  for (auto _ : state) {
    auto operation = zelta::MakeCom<bm::AGBOperation>(&f.host->Plugin());
    std::string error;
    zelta::app::CabFromJson(operation->Options().Get(), f.options, &error);
    bm::SetCabObjects(operation->Input().Get(), {f.document.Get()});
    operation->SetPrefetchWindow(window);
    const zelta::HRESULT hr = operation->Do(zelta::kDoNoProgress, 0);
    state.PauseTiming();
    if (hr != zelta::S_OK) state.SkipWithError("the generation run failed");
    history->Undo();
    state.ResumeTiming();
  }
}

void BM_ManualFloor(benchmark::State& state) { ExtractAll(Manual(), state); }
void BM_ManualGenerate(benchmark::State& state) { Generate(Manual(), state, 0); }
void BM_ManualGeneratePrefetch(benchmark::State& state) { Generate(Manual(), state, -1); }

// The scan and the content rules alone, over text extracted before the timing.
void BM_ManualScanOnly(benchmark::State& state) {
  Fixture& f = Manual();
  auto service = bm::PageTextService(&f.host->App());
  std::vector<ComPtr<zelta::IHostPageText>> texts(f.pages);
  for (int32_t p = 0; p < f.pages; ++p) service->GetPageText(f.document.Get(), p, texts[p].Put());
  auto operation = zelta::MakeCom<bm::AGBOperation>(&f.host->Plugin());
  std::string error;
  zelta::app::CabFromJson(operation->Options().Get(), f.options, &error);
  bm::GenerationOptions options;
  std::u16string why;
  bm::ReadGenerationOptions(operation->Options().Get(), &options, &why);
  struct Count : bm::TitleSink {
    zelta::HRESULT PlaceTitle(const std::u16string&, size_t, const zelta::PageDestination&) override {
      ++titles;
      return zelta::S_OK;
    }
    int titles = 0;
  } sink;
  for (auto _ : state) {
    bm::LevelChain chain(options.levels);
    chain.Prepare();
    bm::StopWords words;
    bm::PageSource fonts(&f.host->App(), f.document.Get());
    bm::LevelMatcher matcher(chain, fonts);
    bm::TitleRules rules(chain, words, options.flags);
    bm::PageScanner scanner(chain, matcher, rules, sink);
    for (int32_t p = 6; p < f.pages; ++p) {
      const zelta::PageTextChar* chars = nullptr;
      int32_t count = 0;
      texts[p]->GetChars(&chars, &count);
      scanner.Scan(chars, count, p);
    }
  }
  state.counters["titles"] = sink.titles / static_cast<double>(state.iterations());
}

void BM_LongFloor(benchmark::State& state) { ExtractAll(LongDocument(), state); }
void BM_LongNoCriteria(benchmark::State& state) { Generate(LongDocument(), state, 0); }
void BM_LongNoCriteriaPrefetch(benchmark::State& state) { Generate(LongDocument(), state, -1); }

BENCHMARK(BM_ManualFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualScanOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualGenerate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualGeneratePrefetch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LongNoCriteria)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LongNoCriteriaPrefetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
