#include "toc/toc_entry_levels.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace bm {

namespace {

constexpr double kSame = 0.001;

// Whether the left edges cluster around their median: fewer than half of them stand outside
// half an average font size from it, counted from both ends inwards.
bool Clusters(std::vector<double> xs, double averageSize, double* median) {
  std::sort(xs.begin(), xs.end());
  const size_t n = xs.size();
  *median = xs[n / 2];
  const double low = *median - averageSize / 2, high = *median + averageSize / 2;
  size_t outside = 0, a = 0, b = n;
  while (a < b && xs[a] < low) ++a, ++outside;
  while (b > a && xs[b - 1] > high) --b, ++outside;
  return static_cast<double>(outside) / static_cast<double>(n) < 0.5;
}

// Two-sided layouts set the contents of even pages further left or right: the left edge of
// an entry with the even pages' leftmost edge moved onto the odd pages' one.
std::vector<double> LeftEdges(const std::vector<TocLineEntry>& entries) {
  double odd = INFINITY, even = INFINITY;
  for (const TocLineEntry& e : entries) {
    double& edge = (e.tocPage % 2) ? even : odd;
    edge = std::min(edge, e.x);
  }
  const double shift = std::isfinite(odd) && std::isfinite(even) ? odd - even : 0;
  std::vector<double> xs;
  xs.reserve(entries.size());
  for (const TocLineEntry& e : entries) xs.push_back(e.x + ((e.tocPage % 2) ? shift : 0));
  return xs;
}

}  // namespace

void TocEntryLevels::Merge(std::vector<TocLineEntry>& entries) {
  size_t end = entries.size();
  // Groups are taken from the back so that merging (which removes entries) leaves the groups
  // still to come in place.
  while (end > 0) {
    size_t begin = end - 1;
    while (begin > 0 && entries[begin - 1].target == entries[end - 1].target) --begin;
    std::vector<double> xs, seconds;
    double sizes = 0;
    for (size_t i = begin; i < end; ++i) {
      xs.push_back(entries[i].x);
      seconds.push_back(entries[i].lastLineX >= 0 ? entries[i].lastLineX : entries[i].x);
      sizes += entries[i].size;
    }
    const double average = sizes / static_cast<double>(end - begin);
    double median = 0;
    bool second = false;
    bool clusters = Clusters(xs, average, &median);
    if (!clusters) clusters = second = Clusters(seconds, average, &median);
    if (clusters) {
      for (size_t i = end; i-- > begin;) {
        if (i + 1 >= entries.size()) continue;
        TocLineEntry& entry = entries[i];
        TocLineEntry& next = entries[i + 1];
        const double x = second && entry.lastLineX >= 0 ? entry.lastLineX : entry.x;
        const double h = entry.size / 2;
        // An entry that ended in its own page number is complete: it joins nothing.
        if (entry.numbered || (x >= median - h && x <= median + h)) continue;
        if (next.font != entry.font || std::abs(next.size - entry.size) > kSame) continue;
        next.pieces.insert(next.pieces.begin(), entry.pieces.begin(), entry.pieces.end());
        next.areas.insert(next.areas.begin(), entry.areas.begin(), entry.areas.end());
        next.tocPage = entry.tocPage;
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    end = begin;
  }
}

void TocEntryLevels::ByStyle(std::vector<TocLineEntry>& entries) {
  struct Key {
    float size;
    uint32_t font;
    double x;
  };
  // Negative: `a` ranks before the key `k`; 0: the same key. Lines of one font and size
  // indented by less than half the size share a key, so that a ragged left edge makes no
  // levels while indented sub-entries in the parent's font still nest.
  auto compare = [](const Key& a, const Key& k) {
    if (std::abs(a.size - k.size) > kSame) return a.size > k.size ? -1 : 1;
    if (a.font == k.font && std::abs(a.x - k.x) <= k.size / 2) return 0;
    if (std::abs(a.x - k.x) > kSame) return a.x < k.x ? -1 : 1;
    return a.font < k.font ? -1 : 1;
  };
  const std::vector<double> xs = LeftEdges(entries);
  std::vector<Key> keys;
  for (size_t i = 0; i < entries.size(); ++i) {
    const Key key{entries[i].size, entries[i].font, xs[i]};
    auto at =
        std::find_if(keys.begin(), keys.end(), [&](const Key& k) { return compare(key, k) <= 0; });
    if (at == keys.end() || compare(key, *at) != 0) keys.insert(at, key);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    TocLineEntry& e = entries[i];
    const Key key{e.size, e.font, xs[i]};
    auto at =
        std::find_if(keys.begin(), keys.end(), [&](const Key& k) { return compare(key, k) == 0; });
    e.styleLevel = static_cast<int32_t>(at - keys.begin()) + 1;
  }
}

void TocEntryLevels::ByIndent(std::vector<TocLineEntry>& entries) {
  struct Key {
    double x, tolerance;
  };
  std::vector<Key> keys;
  const std::vector<double> xs = LeftEdges(entries);
  for (size_t i = 0; i < entries.size(); ++i) {
    const TocLineEntry& e = entries[i];
    const double x = xs[i];
    auto at = std::find_if(keys.begin(), keys.end(),
                           [&](const Key& k) { return x <= k.x + k.tolerance; });
    if (at == keys.end() || x < at->x - at->tolerance) keys.insert(at, Key{x, e.size / 2});
  }
  std::vector<int32_t> levels;
  for (double x : xs) {
    auto at = std::find_if(keys.begin(), keys.end(),
                           [&](const Key& k) { return x <= k.x + k.tolerance; });
    levels.push_back(static_cast<int32_t>(at - keys.begin()) + 1);
  }
  CloseGaps(levels);
  for (size_t i = 0; i < entries.size(); ++i) entries[i].indentLevel = levels[i];
}

void TocEntryLevels::CloseGaps(std::vector<int32_t>& levels) {
  std::set<int32_t> gaps;
  int32_t previous = 0;
  for (int32_t& level : levels) {
    const int32_t raw = level;
    if (raw < previous) gaps.erase(gaps.lower_bound(raw), gaps.end());
    for (int32_t g = previous + 1; g < raw; ++g) gaps.insert(g);
    level = raw - static_cast<int32_t>(gaps.size());
    previous = raw;
  }
}

}  // namespace bm
