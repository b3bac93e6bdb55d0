#include "autogen/page_scanner.h"

#include "autogen/title_formatter.h"

namespace bm {

using zelta::HRESULT;
using zelta::PageTextChar;

struct PageScanner::State {
  std::u16string buffer;
  size_t pending = 0;  // chain position of the pending title's level (0: none)
  int32_t pendingLine = 0;
  int32_t lastLine = 0;  // line of the character appended last
  bool needsDestination = true;
  bool forceBreak = false;
  zelta::PageDestination destination;
};

void PageScanner::StartDestination(State& state, size_t position, const PageTextChar& ch) const {
  // The record keeps what a fit type does not set; the flags say which values count.
  const LevelAppearance& look = chain_.Node(position).options.appearance;
  zelta::PageDestination& d = state.destination;
  d.fitType = look.destType;
  d.flags = look.destFlags;
  switch (look.destType) {
    case zelta::kFitXYZ:
      d.values[0] = ch.left;
      d.values[1] = ch.top;
      d.values[2] = 1.0;
      break;
    case zelta::kFitH:
    case zelta::kFitBH:
      d.values[0] = ch.top;
      break;
    case zelta::kFitV:
    case zelta::kFitBV:
      d.values[0] = ch.left;
      break;
    default:
      break;
  }
}

HRESULT PageScanner::FinishTitle(State& state) {
  if (state.buffer.empty() || state.pending == 0) return zelta::S_OK;
  size_t position = state.pending;
  HRESULT hr = rules_.Accept(state.buffer, &position);
  if (hr != zelta::S_OK) return zelta::Failed(hr) ? hr : zelta::S_OK;
  hr = sink_.PlaceTitle(state.buffer, position, state.destination);
  if (zelta::Failed(hr)) return hr;
  rules_.SetLastTitle(state.buffer);
  return zelta::S_OK;
}

HRESULT PageScanner::Scan(const PageTextChar* chars, int32_t count, int32_t page) {
  if (!chars || count <= 0) return zelta::S_OK;
  State state;
  state.destination.page = page;
  state.destination.fitType = zelta::kFitXYZ;
  state.destination.flags = 13;
  state.destination.values[2] = 1.0;

  size_t current = 0;  // the level of the run being read (0: none)
  for (int32_t i = 0; i < count; ++i) {
    const PageTextChar& ch = chars[i];
    const bool runStart = (ch.flags & zelta::kCharBreakMask) != 0;
    if (runStart) {
      current = matcher_.Select(SampleOf(ch));
      const bool matched = current != 0;
      const int32_t index = IndexOf(current);
      const int32_t pendingIndex = IndexOf(state.pending);
      const bool newLine = ch.line != state.pendingLine;
      const bool multiline = matched && chain_.Node(current).options.Uses(kLevelMultiline);
      if (matched && !state.needsDestination)
        state.needsDestination = index != pendingIndex || (newLine && !multiline);

      bool ends = state.forceBreak || index != pendingIndex;
      if (!ends && matched && newLine && !multiline) ends = true;
      if (ends) {
        state.pendingLine = ch.line;
        HRESULT hr = FinishTitle(state);
        if (zelta::Failed(hr)) return hr;
        state.buffer.clear();
        state.forceBreak = false;
        state.pending = current;
      }
      if (matched && state.needsDestination) {
        StartDestination(state, current, ch);
        state.needsDestination = false;
      }
    }
    if (current == 0) continue;
    // A title that goes on onto another line gets one blank at the join, unless it has one.
    if (runStart && !state.buffer.empty() && ch.line != state.lastLine &&
        !IsBlank(state.buffer.back()) && !IsBlank(ch.code))
      state.buffer.push_back(u' ');
    state.buffer.push_back(ch.code);
    state.lastLine = ch.line;
    if (!runStart && !matcher_.Test(SampleOf(ch), current)) {
      state.needsDestination = true;
      state.forceBreak = true;
    }
  }
  return FinishTitle(state);
}

}  // namespace bm
