#include "zelta/cli/batch_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "zelta/cli/exit_codes.h"
#include "zelta/cli/session.h"

extern char** environ;

namespace zelta::cli {
namespace {

// A child's standard output and error go to files of their own, shown whole when it ends, so
// that parallel runs never interleave (and draw no progress bars).
struct Child {
  size_t file = 0;
  std::string outPath, errPath;
};

std::string TemporaryPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/zelta-batch-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) return {};
  close(fd);
  return path;
}

pid_t Spawn(const std::vector<std::string>& arguments, const Child& child) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, child.outPath.c_str(),
                                   O_WRONLY | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, child.errPath.c_str(),
                                   O_WRONLY | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int RunBatch(const std::vector<BatchFile>& files, const BatchOptions& options) {
  std::map<pid_t, Child> running;
  size_t next = 0, failed = 0, changed = 0;
  auto report = [&](const Child& child, int status) {
    const BatchFile& file = files[child.file];
    const std::string out = ReadAll(child.outPath);
    std::cerr << ReadAll(child.errPath) << std::flush;
    std::remove(child.outPath.c_str());
    std::remove(child.errPath.c_str());
    if (status == kExitChanged) ++changed;
    if (status != kExitChanged && status != kExitNoChange) ++failed;
    if (!options.json) {
      std::cout << out << std::flush;
      if (status != kExitChanged && status != kExitNoChange)
        PrintError(file.input + ": failed (exit status " + std::to_string(status) + ")");
      return;
    }
    nlohmann::ordered_json line = {{"file", file.input}, {"written", file.output}};
    auto parsed = nlohmann::ordered_json::parse(out, nullptr, false);
    if (parsed.is_object())
      for (auto& [key, value] : parsed.items()) line[key] = value;
    line["exit"] = status;
    if (status != kExitChanged && status != kExitNoChange) line.erase("written");
    std::cout << line.dump() << "\n" << std::flush;
  };
  while (next < files.size() || !running.empty()) {
    while (next < files.size() && running.size() < std::max(1u, options.jobs)) {
      const size_t index = next++;
      Child child{index, TemporaryPath(), TemporaryPath()};
      std::vector<std::string> argv{"zelta"};
      argv.insert(argv.end(), options.globalArguments.begin(), options.globalArguments.end());
      argv.insert(argv.end(), {"run"});
      argv.insert(argv.end(), options.runArguments.begin(), options.runArguments.end());
      argv.insert(argv.end(), {files[index].input, "-o", files[index].output});
      const pid_t pid = child.outPath.empty() || child.errPath.empty() ? -1 : Spawn(argv, child);
      if (pid < 0) {
        PrintError(files[index].input + ": cannot start a process for it");
        for (const std::string& path : {child.outPath, child.errPath})
          if (!path.empty()) std::remove(path.c_str());
        ++failed;
        continue;
      }
      running.emplace(pid, std::move(child));
    }
    if (running.empty()) break;
    int wait = 0;
    const pid_t done = waitpid(-1, &wait, 0);
    if (done < 0) break;
    auto found = running.find(done);
    if (found == running.end()) continue;
    const int status = WIFEXITED(wait) ? WEXITSTATUS(wait) : kExitFailed;
    if (WIFSIGNALED(wait))
      PrintError(files[found->second.file].input + ": the run ended by signal " +
                 std::to_string(WTERMSIG(wait)));
    report(found->second, status);
    running.erase(found);
  }
  if (failed) return kExitFailed;
  return changed ? kExitChanged : kExitNoChange;
}

}  // namespace zelta::cli
