// The process's resident and peak memory, for benchmarks that report memory beside time.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace bench {

// A kB figure from /proc/self/status ("VmRSS", "VmHWM"); -1 when it cannot be read.
inline long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(key + ":")) return std::atol(line.c_str() + key.size() + 1);
  }
  return -1;
}

// Makes VmHWM start again from the current resident size.
inline void ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

}  // namespace bench
