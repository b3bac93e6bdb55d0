// The desktop window on a reference manual of 2,415 pages: from the program's start to page
// 1 painted, against `mutool draw` rendering page 1 of the same file. Both are whole
// processes started the same way; the window runs on the offscreen platform.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

constexpr int kManualPages = 2415;

// The manual: the pages of a real reference manual repeated up to 2,415 pages, with the
// outline a generation run gives it (about 3,000 bookmarks in closed chapters), so that the
// bookmarks panel is part of what is timed.
const std::string& Manual() {
  static const std::string path = [] {
    char name[] = "/tmp/zelta-bench-desktop-XXXXXX";
    const std::string folder = mkdtemp(name);
    const std::string source = ZELTA_CORPUS_DIR "/R-intro.pdf";
    std::string command = "qpdf --empty --pages";
    for (int i = 0; i < 22; ++i) command += " '" + source + "'";
    command += " -- '" + folder + "/long.pdf' && qpdf --empty --pages '" + folder +
               "/long.pdf' 1-" + std::to_string(kManualPages) + " -- '" + folder + "/pages.pdf'";
    command += " && " ZELTA_BINARY_DIR "/zelta --settings '" + folder +
               "/settings.json' run AGB '" + folder + "/pages.pdf' -o '" + folder +
               "/manual.pdf' --options '" ZELTA_SOURCE_DIR "/samples/R-intro.options.json' --quiet";
    if (std::system(command.c_str()) != 0) return std::string();
    return folder + "/manual.pdf";
  }();
  return path;
}

// Runs the command once per iteration; the mean seconds a run took go to the "seconds"
// counter, so that an absolute bound can be checked beside the ratio.
void Run(benchmark::State& state, const std::string& command) {
  if (Manual().empty()) return state.SkipWithError("cannot make the manual (qpdf)");
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  if (state.iterations() > 0)
    state.counters["seconds"] = total / static_cast<double>(state.iterations());
}

void BM_DesktopFirstPaint(benchmark::State& state) {
  Run(state, "QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=/tmp " ZELTA_BINARY_DIR
             "/zelta-desktop --quit-after-first-paint '" +
                 Manual() + "' >/dev/null 2>&1");
}

void BM_MutoolDrawPage1(benchmark::State& state) {
  Run(state, "mutool draw -q -o /tmp/zelta-bench-page1.png '" + Manual() + "' 1");
}

BENCHMARK(BM_DesktopFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_MutoolDrawPage1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
