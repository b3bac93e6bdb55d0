// Change Bookmark Case through the real host and the plug-in in-process, run by the host's
// operation runner as the zelta program runs it: per-bookmark time on outlines of 10,000 and
// 100,000 bookmarks (chapters, sections and subsections) and on the largest corpus document,
// whether the time per bookmark stays flat from 10k to 100k, and the peak memory of the
// 100k run against the size of the file and the memory it takes merely to be open; and the
// whole `zelta run CBC` process on 20,000 bookmarks against `mutool clean` of the same file
// (open, every object read, the file written), the floor for any tool that rewrites it; and a
// batch of four such files with -j 1 and -j 2, with the machine's load beside it (a second
// job only helps when a second core is free).
#include "tools/title/change_case.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "bench/peak_memory.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "host/operation.h"
#include "plugin/plugin_object.h"
#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/host_app.h"
#include "zelta/app/settings/settings_store.h"
#include "zelta/pdf/host_document.h"

namespace bm {
zelta::HRESULT GetPluginObject(zelta::IUnknown* app, zelta::IPlugin** plugin);
}

namespace {

namespace fs = std::filesystem;
using zelta::ComPtr;

constexpr int kSectionsPerChapter = 9;
constexpr int kSubsectionsPerSection = 10;
constexpr int kPerChapter =
    1 + kSectionsPerChapter * (1 + kSubsectionsPerSection);  // 100 bookmarks

// The benchmark's scratch folder, removed at exit.
const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string path =
        (fs::temp_directory_path() / ("zelta_bench_" + std::to_string(getpid()))).string();
    fs::create_directories(path);
    return path;
  }();
  return dir;
}

// A book of `bookmarks` outline items (a multiple of 100) in three levels over 200 pages,
// with titles in mixed case so that every case mode changes every title.
std::string WriteBook(int bookmarks) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(200);
  int page = 0;
  auto next = [&] { return page++ % 200; };
  for (int c = 1; c <= bookmarks / kPerChapter; ++c) {
    auto chapter =
        zelta::testing::Bookmark("Chapter " + std::to_string(c) + ": the Quick brown Fox", next());
    for (int s = 1; s <= kSectionsPerChapter; ++s) {
      auto section =
          zelta::testing::Bookmark("Section " + std::to_string(s) + " of the Lazy dog", next());
      for (int u = 1; u <= kSubsectionsPerSection; ++u) {
        section.children.push_back(
            zelta::testing::Bookmark("subsection " + std::to_string(u) + " jumps Over", next()));
      }
      chapter.children.push_back(std::move(section));
    }
    layout.outline.push_back(std::move(chapter));
  }
  std::string path = ScratchDir() + "/book" + std::to_string(bookmarks) + ".pdf";
  zelta::testing::WriteFile(path, zelta::testing::BuildPdf(layout));
  return path;
}

// The host application with the plug-in started, as the zelta program has it.
class BenchHost {
 public:
  BenchHost() {
    app_ = zelta::MakeCom<zelta::app::HostApp>();
    app_->UseSettingsStore(
        std::make_shared<zelta::app::SettingsStore>(ScratchDir() + "/settings.json"));
    ComPtr<zelta::IPlugin> plugin;
    if (bm::GetPluginObject(static_cast<zelta::IHostApp*>(app_.Get()), plugin.Put()) ==
        zelta::S_OK) {
      plugin_ = ComPtr<bm::PluginObject>(static_cast<bm::PluginObject*>(plugin.Get()));
      ready_ = plugin_->Attach(static_cast<zelta::IHostApp*>(app_.Get())) == zelta::S_OK &&
               plugin_->Initialize() == zelta::S_OK && plugin_->Start() == zelta::S_OK;
    }
  }
  ~BenchHost() {
    document_.Reset();
    if (plugin_) plugin_->Shutdown();
    plugin_.Reset();
    app_->Shutdown();
  }

  bool Open(const std::string& path) {
    ComPtr<zelta::pdf::HostDocument> document;
    std::string error;
    if (!ready_ || app_->OpenDocument(path, "", &document, &error) != zelta::S_OK) {
      std::cerr << "cannot open " << path << ": " << error << "\n";
      return false;
    }
    document_ = app_->ActiveDocument();
    return true;
  }

  int64_t CountBookmarks() {
    ComPtr<zelta::IHostBookmark> root;
    int64_t count = 0;
    if (document_ && document_->GetOutlineRoot(root.Put()) == zelta::S_OK) {
      bm::WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark*, int32_t) {
        ++count;
        return zelta::S_OK;
      });
    }
    return count;
  }

  // One Change Case run over the whole document through the operation runner.
  zelta::HRESULT Run(int32_t flags) {
    std::u16string id = u"op.bookmarks.changeBookmarkCase";
    zelta::Atom atom = zelta::kNoAtom;
    app_->InternString(id.c_str(), static_cast<int32_t>(id.size()), &atom);
    ComPtr<zelta::IHostOperation> operation;
    ComPtr<zelta::ICab> params;
    if (zelta::Failed(app_->CreateOperation(atom, operation.Put())) || !operation ||
        zelta::Failed(operation->GetParams(params.Put()))) {
      return zelta::E_FAIL;
    }
    auto root = bm::CabRoot(params.Get());
    auto options = bm::CabItem(root.Get(), u"Options");
    if (!options || zelta::Failed(options->SetInt(u"Flags", flags))) return zelta::E_FAIL;
    zelta::HRESULT hr =
        bm::SetCabObjects(bm::CabItem(root.Get(), u"Input").Get(), {document_.Get()});
    return zelta::Failed(hr) ? hr : app_->RunOperation(operation.Get(), zelta::kDoNoProgress, 0);
  }

 private:
  ComPtr<zelta::app::HostApp> app_;
  ComPtr<bm::PluginObject> plugin_;
  ComPtr<zelta::IHostDocument> document_;
  bool ready_ = false;
};

// CPU time of this process in seconds: steadier than wall time on a loaded machine.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU time per bookmark (ns) of the 10k and 100k runs, for the scaling figure.
double gNsPerBookmark10k = 0, gNsPerBookmark100k = 0;

// Runs Change Case over the open document in every iteration, alternating UPPERCASE and
// lowercase so that each run changes every title. Returns the CPU time per bookmark in ns.
double RunCase(benchmark::State& state, const std::string& path, int64_t bookmarks,
               BenchHost& host) {
  int32_t flags = bm::kUpperCase;
  double cpu = 0, first = 0, last = 0;
  for (auto _ : state) {
    double start = CpuSeconds();
    zelta::HRESULT hr = host.Run(flags);
    last = CpuSeconds() - start;
    if (first == 0) first = last;
    cpu += last;
    if (hr != zelta::S_OK) {
      state.SkipWithError(("Change Case on " + path + " failed: " + std::to_string(hr)).c_str());
      return 0;
    }
    flags = flags == bm::kUpperCase ? bm::kLowerCase : bm::kUpperCase;
  }
  const double runs = static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * bookmarks);
  state.counters["bookmarks"] = static_cast<double>(bookmarks);
  const double nsPerBookmark = cpu * 1e9 / (runs * static_cast<double>(bookmarks));
  state.counters["cpu_ns_per_bookmark"] = nsPerBookmark;
  // Above 1 when runs slow down as the undo history fills.
  state.counters["last_over_first_run"] = first > 0 ? last / first : 0;
  return nsPerBookmark;
}

void BM_ChangeCase10k(benchmark::State& state) {
  static const std::string path = WriteBook(10000);
  BenchHost host;
  if (!host.Open(path)) return state.SkipWithError("cannot open the 10k book");
  gNsPerBookmark10k = RunCase(state, path, 10000, host);
}

void BM_ChangeCase100k(benchmark::State& state) {
  static const std::string path = WriteBook(100000);
  bench::ResetPeakMemory();
  const long baseKb = bench::StatusKb("VmRSS");
  BenchHost host;
  if (!host.Open(path)) return state.SkipWithError("cannot open the 100k book");
  const long openKb = bench::StatusKb("VmRSS") - baseKb;
  gNsPerBookmark100k = RunCase(state, path, 100000, host);
  const long peakKb = bench::StatusKb("VmHWM") - baseKb;
  const double fileKb = static_cast<double>(fs::file_size(path)) / 1024.0;
  state.counters["file_MiB"] = fileKb / 1024.0;
  state.counters["open_MiB"] = static_cast<double>(openKb) / 1024.0;
  state.counters["peak_MiB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["peak_per_file"] = static_cast<double>(peakKb) / fileKb;
  if (gNsPerBookmark10k > 0)
    state.counters["per_bookmark_vs_10k"] = gNsPerBookmark100k / gNsPerBookmark10k;
}

// The corpus document with the most bookmarks.
void BM_ChangeCaseCorpus(benchmark::State& state) {
  std::string best;
  int64_t bestCount = -1;
  for (const auto& entry : fs::directory_iterator(ZELTA_CORPUS_DIR)) {
    if (entry.path().extension() != ".pdf") continue;
    BenchHost host;
    if (!host.Open(entry.path().string())) continue;
    if (int64_t count = host.CountBookmarks(); count > bestCount) {
      bestCount = count;
      best = entry.path().string();
    }
  }
  if (best.empty()) return state.SkipWithError("no corpus document");
  BenchHost host;
  if (!host.Open(best)) return state.SkipWithError("cannot open the corpus document");
  state.SetLabel(fs::path(best).filename().string());
  RunCase(state, best, bestCount, host);
}

// Runs a shell command per iteration; wall time.
void RunCommand(benchmark::State& state, const std::string& command) {
  for (auto _ : state)
    if (std::system(command.c_str()) != 0)
      return state.SkipWithError(("failed: " + command).c_str());
}

const std::string& Book20k() {
  static const std::string path = WriteBook(20000);
  return path;
}

void BM_CaseProcess20k(benchmark::State& state) {
  RunCommand(state, "XDG_CONFIG_HOME='" + ScratchDir() + "' " ZELTA_BINARY_DIR "/zelta run CBC '" +
                        Book20k() + "' -o '" + ScratchDir() +
                        "/cased.pdf' --set Flags=upper --quiet");
}

void BM_MutoolClean20k(benchmark::State& state) {
  RunCommand(state, "mutool clean '" + Book20k() + "' '" + ScratchDir() + "/clean.pdf'");
}

void BM_Batch(benchmark::State& state) {
  std::string files;
  for (int i = 0; i < 4; ++i) {
    const std::string copy = ScratchDir() + "/batch" + std::to_string(i) + ".pdf";
    if (!fs::exists(copy)) fs::copy_file(Book20k(), copy);
    files += " '" + copy + "'";
  }
  fs::create_directories(ScratchDir() + "/batch-out");
  double load[1] = {0};
  RunCommand(state, "XDG_CONFIG_HOME='" + ScratchDir() + "' " ZELTA_BINARY_DIR "/zelta run CBC" +
                        files + " --output-dir '" + ScratchDir() + "/batch-out' -j " +
                        std::to_string(state.range(0)) + " --set Flags=upper --quiet");
  if (getloadavg(load, 1) == 1) state.counters["load_1min"] = load[0];
}

BENCHMARK(BM_Batch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_CaseProcess20k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_MutoolClean20k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ChangeCase10k)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ChangeCase100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ChangeCaseCorpus)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gNsPerBookmark10k > 0 && gNsPerBookmark100k > 0) {
    std::printf(
        "Change Case CPU time per bookmark: %.0f ns at 10k, %.0f ns at 100k; ratio 100k/10k = "
        "%.2f\n",
        gNsPerBookmark10k, gNsPerBookmark100k, gNsPerBookmark100k / gNsPerBookmark10k);
  }
  std::error_code ignored;
  fs::remove_all(ScratchDir(), ignored);
  return 0;
}
