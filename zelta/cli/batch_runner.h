// Many input files through one operation: each file is a `zelta run` of its own in a child
// process (so one bad file cannot stop or corrupt the others), at most `jobs` at a time.
#pragma once

#include <string>
#include <vector>

namespace zelta::cli {

struct BatchFile {
  std::string input, output;
};

struct BatchOptions {
  std::vector<std::string> runArguments;     // after "run OPERATION FILE -o OUT"
  std::vector<std::string> globalArguments;  // before "run" (--settings, --module)
  unsigned jobs = 1;
  bool json = false;  // one JSON line a file on standard output
};

// Returns 0 when every file changed or needed no change and at least one changed, 3 when none
// needed a change, 1 when any failed. Each failure is named on stderr (or in its JSON line).
int RunBatch(const std::vector<BatchFile>& files, const BatchOptions& options);

}  // namespace zelta::cli
