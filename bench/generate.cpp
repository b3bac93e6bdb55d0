// Generation from page text against its floor, the host's plain text extraction of the same
// pages, measured in the same run: the largest corpus manual with its bundled options (read
// page by page on this thread, and with the host preparing the next pages on its second
// thread), the scan alone over text extracted beforehand, a level without criteria on a
// 2,000-page document (every page's whole text one title), and the peak memory of whole
// program runs over 250 and 2,000 pages. On a reference manual of 2,415 pages (the corpus
// manual's pages repeated), a whole `zelta run AGB` process with its second thread against
// `mutool draw -F txt` of the whole file, and a check that the run makes the same outline with
// and without the second thread.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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
#include "zelta/app/cab/cab_json.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace {

using zelta::ComPtr;

struct Fixture {
  std::unique_ptr<bm::testing::CoreHost> host = std::make_unique<bm::testing::CoreHost>();
  ComPtr<zelta::IHostDocument> document;
  nlohmann::json options;
  int32_t pages = 0;
  int32_t firstPage = 0;  // 0-based: the first page of the options' page range
};

Fixture& Manual() {
  static Fixture fixture = [] {
    Fixture f;
    f.document = f.host->OpenBytes(zelta::testing::ReadFile(ZELTA_CORPUS_DIR "/R-intro.pdf"));
    // The bundled options. Not found through __FILE__: a compiler cache that makes source
    // paths relative to its base folder leaves a path that only holds in the build folder.
    std::ifstream in(ZELTA_SOURCE_DIR "/samples/R-intro.options.json");
    f.options = nlohmann::json::parse(in, nullptr, false);
    f.document->GetPageCount(&f.pages);
    // The floor reads the pages the run reads: the options give an open range "N-".
    const std::string range = f.options.value("/PagesRange/Text"_json_pointer, std::string());
    if (!range.empty() && range.back() == '-') f.firstPage = std::stoi(range) - 1;
    return f;
  }();
  return fixture;
}

// 2,000 pages of 30 lines each.
zelta::testing::TextPdfSpec LongLayout() {
  using namespace zelta::testing;
  TextPdfSpec layout;
  for (int p = 0; p < 2000; ++p) {
    TextPageSpec page;
    for (int l = 0; l < 30; ++l)
      page.lines.push_back({72,
                            740.0 - 20 * l,
                            {{"Line " + std::to_string(l) + " of page " + std::to_string(p) +
                                  " with some words to read",
                              kRegular, 10}}});
    layout.pages.push_back(page);
  }
  return layout;
}

Fixture& LongDocument() {
  static Fixture fixture = [] {
    Fixture f;
    f.document = f.host->OpenBytes(zelta::testing::BuildTextPdf(LongLayout()));
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
    for (int32_t p = f.firstPage; p < f.pages; ++p) {
      ComPtr<zelta::IHostPageText> text;
      service->GetPageText(f.document.Get(), p, text.Put());
      const zelta::PageTextChar* chars = nullptr;
      int32_t count = 0;
      text->GetChars(&chars, &count);
      for (int32_t i = 0; i < count; ++i) sum += chars[i].flags;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["pages"] = f.pages - f.firstPage;
}

// One generation run; its bookmarks are undone outside the timing.
void Generate(Fixture& f, benchmark::State& state, int32_t window) {
  ComPtr<zelta::IHostUndoHistory> history;
  f.document->GetUndoHistory(history.Put());
  for (auto _ : state) {
    auto operation = bm::testing::NewOperation<bm::AGBOperation>(&f.host->Plugin());
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
  auto operation = bm::testing::NewOperation<bm::AGBOperation>(&f.host->Plugin());
  std::string error;
  zelta::app::CabFromJson(operation->Options().Get(), f.options, &error);
  bm::GenerationOptions options;
  std::u16string why;
  bm::ReadGenerationOptions(operation->Options().Get(), bm::HostColors(&f.host->App()).Get(),
                            &options, &why);
  struct Count : bm::TitleSink {
    zelta::HRESULT PlaceTitle(const std::u16string&, size_t,
                              const zelta::PageDestination&) override {
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
    for (int32_t p = f.firstPage; p < f.pages; ++p) {
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

// Peak resident memory (kB) of one fresh `zelta run AGB` process over pages 1-N of `pdf`; -1
// when the run did not end as expected (exit 3: read through, nothing matched).
long ChildPeakKb(const std::string& pdf, const std::string& options, const std::string& folder,
                 int pages) {
  const std::string range = "1-" + std::to_string(pages);
  const std::string out = folder + "/out.pdf";
  const std::string settings = folder + "/settings.json";
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(ZELTA_BINARY_DIR "/zelta", "zelta", "--settings", settings.c_str(), "run", "AGB",
          pdf.c_str(), "-o", out.c_str(), "--options", options.c_str(), "--pages", range.c_str(),
          "--quiet", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 3)
    return -1;
  return usage.ru_maxrss;
}

// Peak memory of a whole generation run (the program, its second thread included) over the
// first N pages of the 2,000-page document, with a level that matches nothing so that no
// bookmarks grow with N: the text is held a page at a time plus the window, so the peak stays
// flat in N. Each run is a fresh process, so earlier runs cannot hide growth.
void BM_PeakMemory(benchmark::State& state) {
  // A scratch folder, removed when the program ends.
  static const struct Scratch {
    Scratch() {
      std::string dir = (std::filesystem::temp_directory_path() / "zelta-bench-XXXXXX").string();
      if (mkdtemp(dir.data())) path = dir;
    }
    ~Scratch() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  } scratch;
  const std::string& folder = scratch.path;
  static const std::string pdf = folder + "/long.pdf";
  static const std::string options = folder + "/options.json";
  if (folder.empty()) return state.SkipWithError("no scratch folder");
  if (!std::filesystem::exists(pdf)) {
    std::ofstream(pdf, std::ios::binary) << zelta::testing::BuildTextPdf(LongLayout());
    std::ofstream(options) << nlohmann::json{
        {"Levels", nlohmann::json::array(
                       {{{"Index", 1}, {"Flags", 1}, {"LevelDescription", {{"FontSize", 99}}}}})}};
  }
  long peakKb = 0;
  for (auto _ : state) {
    peakKb = ChildPeakKb(pdf, options, folder, static_cast<int>(state.range(0)));
    if (peakKb < 0) state.SkipWithError("the zelta run did not read through");
  }
  state.counters["pages"] = static_cast<double>(state.range(0));
  state.counters["peak_MiB"] = static_cast<double>(peakKb) / 1024.0;
}

// The 2,415-page manual (made with qpdf once; removed when the program ends).
const std::string& LongManual() {
  static const struct Made {
    Made() {
      std::string dir = (std::filesystem::temp_directory_path() / "zelta-bench-XXXXXX").string();
      if (!mkdtemp(dir.data())) return;
      folder = dir;
      const std::string source = ZELTA_CORPUS_DIR "/R-intro.pdf";
      std::string command = "qpdf --empty --pages";
      for (int i = 0; i < 22; ++i) command += " '" + source + "'";
      command += " -- '" + dir + "/long.pdf' && qpdf --empty --pages '" + dir +
                 "/long.pdf' 1-2415 -- '" + dir + "/manual.pdf'";
      if (std::system(command.c_str()) == 0) path = dir + "/manual.pdf";
    }
    ~Made() {
      std::error_code ignored;
      if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
    std::string folder, path;
  } made;
  return made.path;
}

// CPU seconds of the finished child processes (user and system).
double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the command per iteration. Beside the time: "cpu_per_wall", the processor time the
// command took over its wall time (about 2 when it kept two cores busy), and the load the
// machine was under ("load_1min"), since a second thread only helps on a free core.
void RunCommand(benchmark::State& state, const std::string& command) {
  if (LongManual().empty()) return state.SkipWithError("cannot make the manual (qpdf)");
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double cpuBefore = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0)
      return state.SkipWithError(("failed: " + command).c_str());
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu += ChildrenCpuSeconds() - cpuBefore;
  }
  if (wall > 0) state.counters["cpu_per_wall"] = cpu / wall;
  double load[1] = {0};
  if (getloadavg(load, 1) == 1) state.counters["load_1min"] = load[0];
}

void BM_LongManualGenerate(benchmark::State& state) {
  const std::string folder = std::filesystem::path(LongManual()).parent_path().string();
  RunCommand(state, ZELTA_BINARY_DIR "/zelta --settings '" + folder + "/settings.json' run AGB '" +
                        LongManual() + "' -o '" + folder + "/out.pdf' --options '" +
                        ZELTA_SOURCE_DIR "/samples/R-intro.options.json' --quiet");
}

void BM_MutoolDrawText(benchmark::State& state) {
  RunCommand(state, "mutool draw -q -F txt -o /dev/null '" + LongManual() + "'");
}

// The outline a run makes on one thread and with the second one must be the same.
void BM_LongManualThreadsAgree(benchmark::State& state) {
  if (LongManual().empty()) return state.SkipWithError("cannot make the manual (qpdf)");
  Fixture f;
  f.document = f.host->OpenBytes(zelta::testing::ReadFile(LongManual()));
  std::ifstream in(ZELTA_SOURCE_DIR "/samples/R-intro.options.json");
  f.options = nlohmann::json::parse(in, nullptr, false);
  ComPtr<zelta::IHostUndoHistory> history;
  f.document->GetUndoHistory(history.Put());
  std::string outlines[2];
  for (auto _ : state) {
    for (int32_t window : {0, -1}) {
      auto operation = bm::testing::NewOperation<bm::AGBOperation>(&f.host->Plugin());
      std::string error;
      zelta::app::CabFromJson(operation->Options().Get(), f.options, &error);
      bm::SetCabObjects(operation->Input().Get(), {f.document.Get()});
      operation->SetPrefetchWindow(window);
      if (operation->Do(zelta::kDoNoProgress, 0) != zelta::S_OK)
        return state.SkipWithError("the generation run failed");
      outlines[window == 0 ? 0 : 1] = zelta::pdf::OutlineToText(f.document.Get());
      history->Undo();
    }
  }
  if (outlines[0].empty() || outlines[0] != outlines[1])
    return state.SkipWithError("the outlines made with and without the second thread differ");
  state.counters["bookmark_lines"] =
      static_cast<double>(std::count(outlines[0].begin(), outlines[0].end(), '\n'));
}

BENCHMARK(BM_LongManualGenerate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_MutoolDrawText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LongManualThreadsAgree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ManualFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualScanOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualGenerate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ManualGeneratePrefetch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LongNoCriteria)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LongNoCriteriaPrefetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_PeakMemory)
    ->Arg(250)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
