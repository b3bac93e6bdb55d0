// The scan of one page's text: gathers the characters of runs whose style matches a level
// into titles, ends a title where the level or the line changes (or the style breaks inside
// a run), and hands each finished title through the content rules to the placing.
#pragma once

#include <string>

#include "autogen/level_matcher.h"
#include "autogen/title_rules.h"
#include "host/action.h"
#include "host/page_text.h"

namespace bm {

// Receives the accepted titles of a scan.
class TitleSink {
 public:
  // Makes the bookmark of a formatted title of the level at chain position `position`, with
  // the destination of its first character. A failure ends the scan and the run.
  virtual zelta::HRESULT PlaceTitle(const std::u16string& title, size_t position,
                                    const zelta::PageDestination& destination) = 0;

 protected:
  ~TitleSink() = default;
};

class PageScanner {
 public:
  // Everything must outlive the scanner; the chain must be prepared.
  PageScanner(LevelChain& chain, LevelMatcher& matcher, TitleRules& rules, TitleSink& sink)
      : chain_(chain), matcher_(matcher), rules_(rules), sink_(sink) {}

  // Scans the characters of page `page` (zero-based). S_OK, or the first failure of the
  // content rules or of the placing.
  zelta::HRESULT Scan(const zelta::PageTextChar* chars, int32_t count, int32_t page);

 private:
  struct State;
  int32_t IndexOf(size_t position) const {
    return position ? chain_.Node(position).options.index : 0;
  }
  zelta::HRESULT FinishTitle(State& state);
  // Where the runs that start at `at` (matching no level) stop continuing the pending title
  // under kLevelJoinSmallerRuns: the index of the run of its level that follows them on the
  // line, or -1 when they end the title.
  int32_t SmallerRunsEnd(const zelta::PageTextChar* chars, int32_t count, int32_t at,
                         const State& state);
  // The same under kLevelJoinSymbolRuns, for runs of symbols only.
  int32_t SymbolRunsEnd(const zelta::PageTextChar* chars, int32_t count, int32_t at,
                        const State& state);
  void StartDestination(State& state, size_t position, const zelta::PageTextChar& ch) const;

  LevelChain& chain_;
  LevelMatcher& matcher_;
  TitleRules& rules_;
  TitleSink& sink_;
};

// The style sample of one character.
inline CharSample SampleOf(const zelta::PageTextChar& ch) {
  return CharSample{ch.fontId, static_cast<double>(ch.size), ch.color, ch.left, ch.bottom, ch.right,
                    ch.top};
}

}  // namespace bm
