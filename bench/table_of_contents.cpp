// Table-of-contents pages for a reference manual's outline (2,415 pages, 1,426 bookmarks over
// three levels) and for a 20,000-bookmark tree, run as a user runs them (`zelta run ToTOC`),
// against `mutool clean` of the same file, and against `mutool clean` of the file the run
// writes: what MuPDF itself needs to read and write a document of that size. The counters
// report what the table adds to the file: per page of the table, per link, and in all.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "tests/harness/core_host.h"

namespace {

using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

constexpr int kManualPages = 2415;

std::string Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/zelta-bench-toc-XXXXXX";
    return std::string(mkdtemp(name));
  }();
  return folder;
}

// `count` bookmarks as chapters of sections of subsections, with titles of a few words.
const std::string& Manual(int count) {
  static std::map<int, std::string> files;
  std::string& path = files[count];
  if (!path.empty()) return path;
  std::mt19937 random(count);
  const char* words[] = {"data",   "frames", "graphics", "models",   "the",   "of",
                         "import", "export", "objects",  "function", "lists", "and"};
  auto title = [&] {
    std::string text = std::to_string(random() % 40 + 1) + ".";
    for (int i = 0; i < 3 + static_cast<int>(random() % 5); ++i)
      text += " " + std::string(words[random() % 12]);
    return text;
  };
  PdfSpec layout;
  layout.pages.resize(kManualPages);
  for (size_t i = 0; i < layout.pages.size(); ++i)
    layout.pages[i].text = "Page " + std::to_string(i + 1) + " of the manual";
  int made = 0, page = 0;
  auto mark = [&] {
    ++made;
    page = std::min(kManualPages - 1, page + static_cast<int>(random() % 3));
    return bm::testing::Mark(title(), page);
  };
  while (made < count) {
    OutlineSpec chapter = mark();
    for (int s = 0; s < 6 && made < count; ++s) {
      OutlineSpec section = mark();
      for (int k = 0; k < 4 && made < count; ++k) section.children.push_back(mark());
      chapter.children.push_back(std::move(section));
    }
    layout.outline.push_back(std::move(chapter));
  }
  path = Folder() + "/manual-" + std::to_string(count) + ".pdf";
  zelta::testing::WriteFile(path, zelta::testing::BuildPdf(layout));
  return path;
}

double FileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) : 0;
}

int CountOf(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  int value = -1;
  if (fscanf(pipe, "%d", &value) != 1) value = -1;
  pclose(pipe);
  return value;
}

void Run(benchmark::State& state, const std::string& command) {
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

std::string TocCommand(int count, const std::string& out) {
  return ZELTA_BINARY_DIR "/zelta run ToTOC '" + Manual(count) + "' -o '" + out + "' --quiet";
}

std::string TocOutput(int count) { return Folder() + "/toc-" + std::to_string(count) + ".pdf"; }

void TocRun(benchmark::State& state) {
  const std::string in = Manual(static_cast<int>(state.range(0)));
  const std::string out = TocOutput(static_cast<int>(state.range(0)));
  Run(state, TocCommand(static_cast<int>(state.range(0)), out));
  const double growth = FileSize(out) - FileSize(in);
  const int pages = CountOf("qpdf --show-npages '" + out + "'") - kManualPages;
  const int links = CountOf("mutool show '" + out + "' grep | grep -c /Subtype/Link");
  state.counters["toc_pages"] = pages;
  state.counters["links"] = links;
  state.counters["growth_MiB"] = growth / (1024.0 * 1024.0);
  if (pages > 0 && links > 0) {
    state.counters["bytes_per_page"] = growth / pages;
    state.counters["bytes_per_link"] = growth / links;
  }
}

void MutoolClean(benchmark::State& state) {
  const std::string in = Manual(static_cast<int>(state.range(0)));
  Run(state, "mutool clean '" + in + "' '" + Folder() + "/clean.pdf'");
}

// The table's own output, written by one run beforehand when the run above has not made it.
void MutoolCleanOutput(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string toc = TocOutput(count);
  struct stat info {};
  if (stat(toc.c_str(), &info) != 0 && std::system(TocCommand(count, toc).c_str()) != 0)
    return state.SkipWithError("the table of contents was not written");
  Run(state, "mutool clean '" + toc + "' '" + Folder() + "/clean.pdf'");
}

BENCHMARK(TocRun)->Arg(1426)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MutoolClean)->Arg(1426)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MutoolCleanOutput)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
