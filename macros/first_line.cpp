#include "macros/first_line.h"

#include <unordered_map>
#include <vector>

namespace bm {

int32_t LineBelow(const zelta::PageTextChar* chars, int32_t count, double limit) {
  if (!chars || count <= 0) return -1;
  // Line tops in order of first appearance.
  std::vector<std::pair<int32_t, double>> lines;
  std::unordered_map<int32_t, size_t> slot;
  for (int32_t i = 0; i < count; ++i) {
    const zelta::PageTextChar& c = chars[i];
    auto [it, added] = slot.try_emplace(c.line, lines.size());
    if (added)
      lines.emplace_back(c.line, c.top);
    else if (c.top > lines[it->second].second)
      lines[it->second].second = c.top;
  }
  int32_t best = -1;
  double bestTop = 0;
  for (const auto& [line, top] : lines) {
    if (top > limit) continue;
    if (best < 0 || top > bestTop) {
      best = line;
      bestTop = top;
    }
  }
  return best;
}

}  // namespace bm
