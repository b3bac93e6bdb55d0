#include "autogen/level_chain.h"

#include <algorithm>

#include "framework/host_strings.h"
#include "platform/locale_text.h"

namespace bm {

using zelta::HRESULT;

void SortFontNames(std::vector<std::u16string>& names) {
  auto less = [](const std::u16string& a, const std::u16string& b) {
    return platform::CompareText(a, b, true) < 0;
  };
  std::stable_sort(names.begin(), names.end(), less);
  auto same = [](const std::u16string& a, const std::u16string& b) {
    return platform::CompareText(a, b, true) == 0;
  };
  names.erase(std::unique(names.begin(), names.end(), same), names.end());
}

bool ContainsFontName(const std::vector<std::u16string>& names, std::u16string_view name) {
  size_t low = 0, high = names.size();
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    const int order = platform::CompareText(names[mid], name, true);
    if (order == 0) return true;
    if (order < 0)
      low = mid + 1;
    else
      high = mid;
  }
  return false;
}

LevelChain::LevelChain(std::vector<LevelOptions> levels) {
  nodes_.resize(levels.size() + 1);
  nodes_[0].options.index = -1;
  for (size_t i = 0; i < levels.size(); ++i) {
    nodes_[i + 1].options = std::move(levels[i]);
    SortFontNames(nodes_[i + 1].options.description.fontNames);
  }
}

bool LevelChain::SameStyle(const LevelOptions& a, const LevelOptions& b) {
  const int32_t shared = a.flags & b.flags;
  if (shared & kLevelMatchSize) {
    const auto& x = a.description;
    const auto& y = b.description;
    const double xLow = std::max(x.fontSize - x.fontTolerance, 0.0),
                 xHigh = x.fontSize + x.fontTolerance;
    const double yLow = std::max(y.fontSize - y.fontTolerance, 0.0),
                 yHigh = y.fontSize + y.fontTolerance;
    constexpr double kSlack = 1e-6;
    if (xLow - yHigh > kSlack || yLow - xHigh > kSlack) return false;
  }
  if ((shared & kLevelMatchColor) && a.description.color != b.description.color) return false;
  if (shared & kLevelMatchFontNames) {
    const auto& x = a.description.fontNames;
    const auto& y = b.description.fontNames;
    if (x.size() != y.size()) return false;
    for (const auto& name : x)
      if (std::find(y.begin(), y.end(), name) == y.end()) return false;
  }
  return true;
}

int LevelChain::FindFallback(size_t position) const {
  // The nearest deeper level of the same style, reached only through levels that have their
  // own patterns.
  for (size_t child = position + 1; child < nodes_.size(); ++child) {
    if (SameStyle(nodes_[position].options, nodes_[child].options)) return static_cast<int>(child);
    if (!nodes_[child].options.Uses(kLevelMatchPattern)) break;
  }
  return -1;
}

HRESULT LevelChain::Prepare() {
  error_.clear();
  allFontNames_ = nodes_.size() > 1;
  allSizes_ = nodes_.size() > 1;
  for (size_t i = 1; i < nodes_.size(); ++i) {
    LevelNode& node = nodes_[i];
    node.counter = 0;
    node.matchingFonts.clear();
    node.otherFonts.clear();
    node.fallback = -1;
    const LevelOptions& options = node.options;
    if (!options.Uses(kLevelMatchFontNames)) allFontNames_ = false;
    if (!options.Uses(kLevelMatchSize)) allSizes_ = false;
    const std::u16string where = u"level " + NumberText(i) + u": ";
    if (options.Uses(kLevelMatchPattern)) {
      HRESULT hr =
          node.pattern.Compile(options.description.textPattern, !options.Uses(kLevelPatternCase));
      if (zelta::Failed(hr)) {
        error_ = where + u"text pattern: " + node.pattern.Error();
        return hr;
      }
      node.fallback = FindFallback(i);
    }
    if (options.format.flags & kFormatReplace) {
      HRESULT hr = node.search.Compile(options.format.searchPattern,
                                       !(options.format.flags & kFormatReplaceCase));
      if (zelta::Failed(hr)) {
        error_ = where + u"search pattern: " + node.search.Error();
        return hr;
      }
    }
  }
  return zelta::S_OK;
}

}  // namespace bm
