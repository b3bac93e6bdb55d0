// Runs a program as a user would: its own stdout and stderr captured, stdin empty, a
// deadline after which it is killed (so a hang fails the test instead of stalling it).
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace zelta::cli_testing {

struct ProcessResult {
  int status = -1;        // the exit status; -1 when the program did not exit normally
  int signal = 0;         // the signal that ended it (a crash), 0 if none
  bool timedOut = false;  // killed at the deadline
  std::string out, err;

  bool Exited(int code) const { return !timedOut && signal == 0 && status == code; }
  // One line for failure messages: status, signal and the start of stderr.
  std::string Describe() const;
};

// argv[0] is the program's path; env is the whole environment ("NAME=value" entries). With
// `interruptAfter` above zero the program gets SIGINT (a Ctrl-C) that long after its start.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         std::chrono::milliseconds timeout,
                         std::chrono::milliseconds interruptAfter = std::chrono::milliseconds(0));

}  // namespace zelta::cli_testing
