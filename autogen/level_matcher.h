// Decides which level, if any, a character's style belongs to. Keeps the per-run caches that
// make this cheap on every run start of every page: the font verdicts (one name lookup per
// font and run when every level matches by font names), the size envelope that rejects
// body text before any level is tried, and each level's known matching and other font ids.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "autogen/level_chain.h"

namespace bm {

// The style of one character as the host gives it.
struct CharSample {
  uint32_t fontId = 0;
  double size = 0;                                  // points
  uint32_t color = kOpaqueBlack;                    // fill colour, 0xAARRGGBB
  double left = 0, bottom = 0, right = 0, top = 0;  // PDF user space
};

// Where font names come from (the host's fonts of the document).
class FontNameSource {
 public:
  // The name of a font id without its subset tag; false when the font cannot be had.
  virtual bool FontName(uint32_t fontId, std::u16string* name) = 0;

 protected:
  ~FontNameSource() = default;
};

class LevelMatcher {
 public:
  // The chain must be prepared and outlive the matcher.
  LevelMatcher(LevelChain& chain, FontNameSource& fonts) : chain_(chain), fonts_(fonts) {}

  // Whether the sample passes every criterion of the level at chain position `position`.
  bool Test(const CharSample& sample, size_t position);
  // The chain position of the first level the sample matches, 0 when none does.
  size_t Select(const CharSample& sample);

 private:
  bool FontPrefilter(uint32_t fontId);
  bool SizePrefilter(double size);
  bool FontNamesMatch(uint32_t fontId, LevelNode& node);

  LevelChain& chain_;
  FontNameSource& fonts_;
  std::vector<std::pair<uint32_t, int8_t>> verdicts_;  // font id -> +1 / -1, sorted by id
  double lowSize_ = -1, highSize_ = -1;
};

}  // namespace bm
