// `zelta suggest` against `zelta fonts` (the same pass over the page text, without the
// decisions) on a reference manual of 2,415 pages, and `zelta run AGB --auto` against a run
// with the same options given in a file on the largest manual of the corpus; each a whole
// program run, measured in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kManual = ZELTA_CORPUS_DIR "/R-intro.pdf";
constexpr int kLongPages = 2415;

// A scratch folder for settings, options and output files, removed when the program ends.
const std::string& Scratch() {
  static const struct Folder {
    Folder() {
      std::string dir = (std::filesystem::temp_directory_path() / "zelta-bench-XXXXXX").string();
      if (mkdtemp(dir.data())) path = dir;
    }
    ~Folder() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  } folder;
  return folder.path;
}

// Runs the zelta program with args (standard output to `out`, or discarded); its exit status,
// or -1 when it did not exit.
// The pages of the manual repeated up to kLongPages pages, made once in the scratch folder.
const std::string& LongManual() {
  static const std::string path = [] {
    const std::string folder = Scratch();
    std::string command = "qpdf --empty --pages";
    for (int i = 0; i < kLongPages / 100 + 1; ++i) command += " '" + kManual + "'";
    command += " -- '" + folder + "/repeated.pdf' && qpdf --empty --pages '" + folder +
               "/repeated.pdf' 1-" + std::to_string(kLongPages) + " -- '" + folder + "/long.pdf'";
    if (folder.empty() || std::system(command.c_str()) != 0) return std::string();
    return folder + "/long.pdf";
  }();
  return path;
}

int Zelta(std::vector<std::string> args, const std::string& out = "/dev/null") {
  const std::string settings = Scratch() + "/settings.json";
  args.insert(args.begin(), {"zelta", "--settings", settings});
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int sink = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_WRONLY);
    dup2(sink, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(ZELTA_BINARY_DIR "/zelta", argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void Expect(benchmark::State& state, int status, int wanted, const char* what) {
  if (status != wanted) state.SkipWithError(what);
}

void BM_Fonts(benchmark::State& state) {
  if (LongManual().empty()) return state.SkipWithError("cannot make the long manual (qpdf)");
  for (auto _ : state) Expect(state, Zelta({"fonts", LongManual()}), 0, "zelta fonts failed");
}

void BM_Suggest(benchmark::State& state) {
  if (LongManual().empty()) return state.SkipWithError("cannot make the long manual (qpdf)");
  // Status 3 (unsure, or no headings) is a finished run too: the time is what counts.
  for (auto _ : state) {
    const int status = Zelta({"suggest", LongManual(), "--quiet"});
    if (status != 0 && status != 3) state.SkipWithError("zelta suggest failed");
  }
}

void BM_RunGivenOptions(benchmark::State& state) {
  const std::string options = Scratch() + "/levels.json";
  if (Zelta({"suggest", kManual, "--quiet"}, options) != 0)
    return state.SkipWithError("zelta suggest found nothing");
  for (auto _ : state)
    Expect(state,
           Zelta({"run", "AGB", kManual, "-o", Scratch() + "/given.pdf", "--options", options,
                  "--quiet"}),
           0, "the run with the options given failed");
}

void BM_RunAuto(benchmark::State& state) {
  for (auto _ : state)
    Expect(state,
           Zelta({"run", "AGB", kManual, "-o", Scratch() + "/auto.pdf", "--auto", "--quiet"}), 0,
           "the run with --auto failed");
}

BENCHMARK(BM_Fonts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Suggest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RunGivenOptions)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunAuto)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
