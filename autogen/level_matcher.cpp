#include "autogen/level_matcher.h"

#include <algorithm>

namespace bm {

namespace {

bool SortedContains(const std::vector<uint32_t>& ids, uint32_t id) {
  return std::binary_search(ids.begin(), ids.end(), id);
}

void SortedInsert(std::vector<uint32_t>& ids, uint32_t id) {
  auto at = std::lower_bound(ids.begin(), ids.end(), id);
  if (at == ids.end() || *at != id) ids.insert(at, id);
}

}  // namespace

bool LevelMatcher::FontPrefilter(uint32_t fontId) {
  auto at = std::lower_bound(verdicts_.begin(), verdicts_.end(), fontId,
                             [](const auto& entry, uint32_t id) { return entry.first < id; });
  if (at != verdicts_.end() && at->first == fontId) return at->second > 0;
  bool any = false;
  std::u16string name;
  if (fonts_.FontName(fontId, &name)) {
    for (size_t i = 1; i < chain_.Size(); ++i) {
      LevelNode& node = chain_.Node(i);
      if (ContainsFontName(node.options.description.fontNames, name)) {
        SortedInsert(node.matchingFonts, fontId);
        any = true;
      }
    }
  }
  verdicts_.insert(at, {fontId, static_cast<int8_t>(any ? 1 : -1)});
  return any;
}

bool LevelMatcher::SizePrefilter(double size) {
  if (lowSize_ < 0 || highSize_ < 0) {
    lowSize_ = -1;
    highSize_ = -1;
    for (size_t i = 1; i < chain_.Size(); ++i) {
      const LevelDescription& d = chain_.Node(i).options.description;
      const double low = std::max(d.fontSize - d.fontTolerance, 0.0);
      const double high = d.fontSize + d.fontTolerance;
      if (i == 1 || low < lowSize_) lowSize_ = low;
      if (i == 1 || high > highSize_) highSize_ = high;
    }
  }
  return lowSize_ <= size && size <= highSize_;
}

bool LevelMatcher::FontNamesMatch(uint32_t fontId, LevelNode& node) {
  if (chain_.AllUseFontNames()) return SortedContains(node.matchingFonts, fontId);
  if (SortedContains(node.matchingFonts, fontId)) return true;
  if (SortedContains(node.otherFonts, fontId)) return false;
  std::u16string name;
  const bool match =
      fonts_.FontName(fontId, &name) && ContainsFontName(node.options.description.fontNames, name);
  SortedInsert(match ? node.matchingFonts : node.otherFonts, fontId);
  return match;
}

bool LevelMatcher::Test(const CharSample& sample, size_t position) {
  if (position == 0 || position >= chain_.Size()) return false;
  LevelNode& node = chain_.Node(position);
  const LevelOptions& options = node.options;
  if (options.index < 0) return false;
  if (chain_.AllUseFontNames() && !FontPrefilter(sample.fontId)) return false;
  if (chain_.AllUseSizes() && !SizePrefilter(sample.size)) return false;
  if (options.Uses(kLevelMatchFontNames) && !FontNamesMatch(sample.fontId, node)) return false;
  if (options.Uses(kLevelMatchSize)) {
    const LevelDescription& d = options.description;
    if (sample.size < d.fontSize - d.fontTolerance || sample.size > d.fontSize + d.fontTolerance)
      return false;
  }
  if (options.Uses(kLevelMatchColor) && sample.color != options.description.color) return false;
  return true;
}

size_t LevelMatcher::Select(const CharSample& sample) {
  for (size_t i = 1; i < chain_.Size(); ++i)
    if (Test(sample, i)) return i;
  return 0;
}

}  // namespace bm
