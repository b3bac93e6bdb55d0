// A private folder and settings home for one test, with helpers that run zelta and the
// reference tools (mutool, qpdf) inside it.
#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/run_process.h"

namespace zelta::cli_testing {

// Generous for a 2-core machine; a run that needs longer than this counts as a hang.
inline constexpr std::chrono::seconds kRunTimeout{60};

// The no-changes message of a run that changed nothing.
inline constexpr const char* kNoChangesMessage =
    "No real changes were done while executing the operation. Please check your input data and try "
    "again.";

std::string ZeltaPath();
std::string CorpusPath(const std::string& name);
// Every PDF of the corpus, sorted by name.
std::vector<std::string> CorpusFiles();
// A test name part from a corpus file name ("R-intro.pdf" -> "R_intro").
std::string CorpusTestName(const std::string& file);
// Three pages with the bookmarks "one", "two" and "three", one on each.
std::string ThreeBookmarks();

class CliSandbox {
 public:
  CliSandbox();
  ~CliSandbox();
  CliSandbox(const CliSandbox&) = delete;
  CliSandbox& operator=(const CliSandbox&) = delete;

  const std::string& Dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Writes bytes (or copies a file) into the folder; returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Copy(const std::string& source, const std::string& name) const;

  ProcessResult Zelta(
      const std::vector<std::string>& args, std::chrono::milliseconds timeout = kRunTimeout,
      std::chrono::milliseconds interruptAfter = std::chrono::milliseconds(0)) const;
  // Runs a tool found on PATH (e.g. "qpdf") with the sandbox's environment.
  ProcessResult Tool(const std::string& program, const std::vector<std::string>& args) const;

  // `zelta outline FILE --json`, parsed; records a test failure and returns null on error.
  nlohmann::json Outline(const std::string& pdf) const;
  // `mutool show FILE outline`, parsed: the independent reading of the same tree. Records a
  // test failure on error.
  std::vector<OutlineLine> MutoolOutline(const std::string& pdf) const;
  // Names of the files in the folder (to see that nothing was left behind).
  std::vector<std::string> Files() const;

 private:
  std::string dir_;
  std::vector<std::string> env_;
};

}  // namespace zelta::cli_testing
