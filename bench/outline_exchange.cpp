// The outline out and in as whole processes on the largest corpus document: importing a
// 20,000-line three-level bookmark text file (zelta import, which runs the module's text-file
// operation) against PyMuPDF's set_toc and pdftk's update_info of the same tree, and the
// text export of those 20,000 bookmarks against mutool's outline listing. Each run is a fresh
// process; its peak memory is reported beside its time. A baseline whose tool is missing is
// skipped. The same import of a chain where each bookmark is one level deeper than the one
// before (1,000 to 20,000 deep, as pdftk data, which stays linear in size) shows how the time
// grows with depth, against PyMuPDF's set_toc of the 20,000-deep chain.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

constexpr const char* kDocument = ZELTA_CORPUS_DIR "/R-intro.pdf";
constexpr int kDocumentPages = 113;
constexpr const char* kZelta = ZELTA_BINARY_DIR "/zelta";
// Debian's PyMuPDF is installed for the system interpreter.
constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kSetToc =
    "import sys, json, fitz\n"
    "doc = fitz.open(sys.argv[1])\n"
    "doc.set_toc(json.load(open(sys.argv[2])))\n"
    "doc.save(sys.argv[3])\n";

// The scratch folder with the tree in every format and a document that holds it.
struct Files {
  std::string folder, text, toc, pdftk, big;
};

const Files& TheFiles() {
  static const Files files = [] {
    Files made;
    std::string dir = (std::filesystem::temp_directory_path() / "zelta-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return made;
    made.folder = dir;
    made.text = dir + "/tree.txt";
    made.toc = dir + "/tree.json";
    made.pdftk = dir + "/tree.data";
    made.big = dir + "/big.pdf";
    std::ofstream text(made.text), pdftk(made.pdftk);
    nlohmann::json toc = nlohmann::json::array();
    int n = 0;
    // 400 chapters of 7 sections of 6 topics: 20,000 bookmarks on three levels.
    const auto add = [&](int level, const std::string& title) {
      const int page = n++ % kDocumentPages + 1;
      text << std::string(static_cast<size_t>(level - 1), '\t') << title << ";" << page << "\n";
      pdftk << "BookmarkBegin\nBookmarkTitle: " << title << "\nBookmarkLevel: " << level
            << "\nBookmarkPageNumber: " << page << "\n";
      toc.push_back({level, title, page});
    };
    for (int c = 1; c <= 400; ++c) {
      add(1, "Chapter " + std::to_string(c));
      for (int s = 1; s <= 7; ++s) {
        add(2, "Section " + std::to_string(c) + "." + std::to_string(s));
        for (int t = 1; t <= 6; ++t)
          add(3, "Topic " + std::to_string(c) + "." + std::to_string(s) + "." + std::to_string(t));
      }
    }
    std::ofstream(made.toc) << toc.dump();
    return made;
  }();
  return files;
}

struct Cleanup {
  ~Cleanup() {
    std::error_code ignored;
    if (!TheFiles().folder.empty()) std::filesystem::remove_all(TheFiles().folder, ignored);
  }
} cleanup;

// Runs argv to the end with its output discarded; the peak resident kB, or -1 when it did
// not exit with `expected`.
long RunPeakKb(const std::vector<std::string>& argv, int expected = 0) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != expected)
    return -1;
  return usage.ru_maxrss;
}

void Measure(benchmark::State& state, const std::vector<std::string>& argv, const char* missing) {
  if (TheFiles().folder.empty()) return state.SkipWithError("no scratch folder");
  long peakKb = 0;
  for (auto _ : state) {
    peakKb = RunPeakKb(argv);
    if (peakKb < 0) return state.SkipWithError(missing);
  }
  state.counters["peak_MiB"] = static_cast<double>(peakKb) / 1024.0;
}

void BM_ImportText(benchmark::State& state) {
  const Files& f = TheFiles();
  Measure(state, {kZelta, "import", kDocument, f.text, "--replace", "-o", f.big, "--quiet"},
          "zelta import failed");
}

void BM_PyMuPdfSetToc(benchmark::State& state) {
  const Files& f = TheFiles();
  Measure(state, {kPython, "-c", kSetToc, kDocument, f.toc, f.folder + "/pymupdf.pdf"},
          "PyMuPDF (python3-fitz) is not installed");
}

void BM_PdftkUpdateInfo(benchmark::State& state) {
  const Files& f = TheFiles();
  Measure(state, {"pdftk", kDocument, "update_info", f.pdftk, "output", f.folder + "/pdftk.pdf"},
          "pdftk (pdftk-java) is not installed");
}

// The chain `depth` deep as pdftk data and as PyMuPDF's table of contents.
std::pair<std::string, std::string> DeepChain(int depth) {
  const Files& f = TheFiles();
  std::string data = f.folder + "/deep" + std::to_string(depth) + ".data";
  std::string toc = f.folder + "/deep" + std::to_string(depth) + ".json";
  if (!std::filesystem::exists(data)) {
    std::ofstream out(data);
    nlohmann::json list = nlohmann::json::array();
    for (int i = 0; i < depth; ++i) {
      const int page = i % kDocumentPages + 1;
      out << "BookmarkBegin\nBookmarkTitle: Level " << i + 1 << "\nBookmarkLevel: " << i + 1
          << "\nBookmarkPageNumber: " << page << "\n";
      list.push_back({i + 1, "Level " + std::to_string(i + 1), page});
    }
    std::ofstream(toc) << list.dump();
  }
  return {data, toc};
}

void BM_ImportDeep(benchmark::State& state) {
  const Files& f = TheFiles();
  auto [data, toc] = DeepChain(static_cast<int>(state.range(0)));
  Measure(state,
          {kZelta, "import", kDocument, data, "--replace", "-o", f.folder + "/deep.pdf", "--quiet"},
          "zelta import failed");
}

void BM_PyMuPdfSetTocDeep(benchmark::State& state) {
  const Files& f = TheFiles();
  auto [data, toc] = DeepChain(static_cast<int>(state.range(0)));
  Measure(state, {kPython, "-c", kSetToc, kDocument, toc, f.folder + "/pymupdf-deep.pdf"},
          "PyMuPDF (python3-fitz) is not installed");
}

void BM_ExportText(benchmark::State& state) {
  const Files& f = TheFiles();
  if (!std::filesystem::exists(f.big) &&
      RunPeakKb({kZelta, "import", kDocument, f.text, "--replace", "-o", f.big, "--quiet"}) < 0)
    return state.SkipWithError("zelta import failed");
  Measure(state, {kZelta, "outline", f.big, "--text"}, "zelta outline --text failed");
}

void BM_MutoolOutline(benchmark::State& state) {
  const Files& f = TheFiles();
  if (!std::filesystem::exists(f.big) &&
      RunPeakKb({kZelta, "import", kDocument, f.text, "--replace", "-o", f.big, "--quiet"}) < 0)
    return state.SkipWithError("zelta import failed");
  Measure(state, {"mutool", "show", f.big, "outline"}, "mutool is not installed");
}

}  // namespace

BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_PyMuPdfSetToc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_PdftkUpdateInfo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ImportDeep)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_PyMuPdfSetTocDeep)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_MutoolOutline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_MAIN();
