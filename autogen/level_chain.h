// The level chain of a generation run: a root that never matches, followed by the levels in
// the order of the options, each the only child of the one before. Positions in the chain
// (0 the root) name the levels throughout a run.
#pragma once

#include <string>
#include <vector>

#include "autogen/level_node.h"
#include "host/com.h"

namespace bm {

class LevelChain {
 public:
  explicit LevelChain(std::vector<LevelOptions> levels = {});

  size_t Size() const { return nodes_.size(); }
  LevelNode& Node(size_t position) { return nodes_[position]; }
  const LevelNode& Node(size_t position) const { return nodes_[position]; }

  // Compiles the patterns the levels use, finds every fallback level and works out the
  // all-font-names and all-sizes flags. A pattern that does not compile is E_INVALIDARG, and
  // Error() names the level and the pattern.
  zelta::HRESULT Prepare();
  const std::u16string& Error() const { return error_; }

  // Whether every level (the root excluded) matches by font names, or by size. False for a
  // chain without levels.
  bool AllUseFontNames() const { return allFontNames_; }
  bool AllUseSizes() const { return allSizes_; }

  // Whether two levels look alike wherever both test the same criterion.
  static bool SameStyle(const LevelOptions& a, const LevelOptions& b);

 private:
  int FindFallback(size_t position) const;

  std::vector<LevelNode> nodes_;
  std::u16string error_;
  bool allFontNames_ = false;
  bool allSizes_ = false;
};

}  // namespace bm
