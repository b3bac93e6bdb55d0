#include "autogen/page_scanner.h"

#include <algorithm>
#include <cmath>

#include "autogen/title_formatter.h"
#include "platform/locale_text.h"

namespace bm {

using zelta::HRESULT;
using zelta::PageTextChar;

// Characters whose bottoms differ by at most this share of the size sit on one baseline.
constexpr double kSameRow = 0.2;

struct PageScanner::State {
  std::u16string buffer;
  size_t pending = 0;  // chain position of the pending title's level (0: none)
  int32_t pendingLine = 0;
  int32_t lastLine = 0;   // line of the character appended last
  double lastBottom = 0;  // the lowest bottom of the characters appended on that line
  double lastCharBottom = 0, lastLeft = 0;  // the box of the character appended last
  double titleSize = 0;                     // size of the title's first character
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

namespace {

bool IsHyphen(char16_t c) { return c == u'-' || c == 0x2010 || c == 0xAD; }

// Joins the next line of a title. A word broken at a hyphen at the line end is put back
// together without the hyphen when the next line goes on in lower case ("hyphen-" "ated");
// otherwise the hyphen belongs to the word ("Long-" "Term"). Lines meet with one blank.
void JoinLine(std::u16string& title, char16_t next) {
  const size_t n = title.size();
  if (n >= 2 && IsHyphen(title[n - 1]) && platform::IsAlpha(title[n - 2])) {
    if (platform::IsLower(next)) title.pop_back();
    return;
  }
  if (!IsBlank(title.back()) && !IsBlank(next)) title.push_back(u' ');
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Whether the line at `at` starts with a section number of two parts or more ("9.3.4.1",
// "A.2"), alone or followed by a blank: such a line starts a heading of its own.
bool StartsWithSectionNumber(const PageTextChar* chars, int32_t count, int32_t at) {
  const int32_t line = chars[at].line;
  auto at_line = [&](int32_t i) { return i < count && chars[i].line == line; };
  int32_t i = at;
  int parts = 0;
  for (;;) {
    const int32_t start = i;
    while (at_line(i) && IsDigit(chars[i].code)) ++i;
    if (i == start && parts == 0 && at_line(i) && chars[i].code >= u'A' && chars[i].code <= u'Z')
      ++i;
    if (i == start) return false;
    ++parts;
    if (!at_line(i) || chars[i].code != u'.') break;
    ++i;
    if (!at_line(i) || !IsDigit(chars[i].code)) break;
  }
  return parts >= 2 && (!at_line(i) || IsBlank(chars[i].code));
}

}  // namespace

int32_t PageScanner::SymbolRunsEnd(const PageTextChar* chars, int32_t count, int32_t at,
                                   const State& state) {
  if (state.pending == 0 || state.buffer.empty() || state.forceBreak) return -1;
  const LevelOptions& level = chain_.Node(state.pending).options;
  if (!level.Uses(kLevelJoinSymbolRuns) || chars[at].line != state.lastLine) return -1;
  for (int32_t j = at; j < count; ++j) {
    const PageTextChar& ch = chars[j];
    if (ch.line != state.lastLine) return -1;
    if (j > at && (ch.flags & zelta::kCharBreakMask)) {
      const CharSample sample = SampleOf(ch);
      if (matcher_.Test(sample, state.pending)) return j;
      if (matcher_.Select(sample) != 0) return -1;
    }
    if (platform::IsAlphaNumeric(ch.code)) return -1;
  }
  return -1;
}

int32_t PageScanner::SmallerRunsEnd(const PageTextChar* chars, int32_t count, int32_t at,
                                    const State& state) {
  if (state.pending == 0 || state.buffer.empty() || state.forceBreak) return -1;
  const LevelOptions& level = chain_.Node(state.pending).options;
  if (!level.Uses(kLevelJoinSmallerRuns) || chars[at].line != state.lastLine) return -1;
  const double largest = level.Uses(kLevelMatchSize)
                             ? level.description.fontSize + level.description.fontTolerance
                             : state.titleSize;
  for (int32_t j = at; j < count; ++j) {
    const PageTextChar& ch = chars[j];
    if (j > at && !(ch.flags & zelta::kCharBreakMask)) continue;
    if (ch.line != state.lastLine) return -1;
    const CharSample sample = SampleOf(ch);
    if (j > at && matcher_.Test(sample, state.pending)) return j;
    if ((j > at && matcher_.Select(sample) != 0) || sample.size > largest) return -1;
  }
  return -1;
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

  size_t current = 0;       // the level of the run being read (0: none)
  int32_t smallerEnd = -1;  // the runs before this index continue the pending title
  for (int32_t i = 0; i < count; ++i) {
    const PageTextChar& ch = chars[i];
    const bool runStart = (ch.flags & zelta::kCharBreakMask) != 0;
    if (runStart && i >= smallerEnd) {
      current = matcher_.Select(SampleOf(ch));
      if (current == 0) {
        smallerEnd = SmallerRunsEnd(chars, count, i, state);
        if (smallerEnd < 0) smallerEnd = SymbolRunsEnd(chars, count, i, state);
        if (smallerEnd > i) current = state.pending;
      }
    }
    if (i < smallerEnd) {
      state.buffer.push_back(ch.code);
      continue;
    }
    if (runStart) {
      const bool matched = current != 0;
      const int32_t index = IndexOf(current);
      const int32_t pendingIndex = IndexOf(state.pending);
      // A run on the baseline of the title's last character, to its right, is on the title's
      // visual line: a section number set apart by a wide space is read as a line of its own.
      const bool sameRow = !state.buffer.empty() && ch.left > state.lastLeft &&
                           std::abs(ch.bottom - state.lastCharBottom) <= kSameRow * ch.size;
      const bool newLine = ch.line != state.pendingLine && !sameRow;
      // A title goes on to the next line only when that line follows it closely: a line of
      // the style further down (a heading under a running header set in it) starts a title.
      const bool apart = newLine && !state.buffer.empty() && ch.line != state.lastLine &&
                         state.lastBottom - ch.top > state.titleSize;
      const bool multiline = matched && chain_.Node(current).options.Uses(kLevelMultiline) &&
                             !apart && !(newLine && StartsWithSectionNumber(chars, count, i));
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
        state.titleSize = ch.size;
      }
      if (matched && state.needsDestination) {
        StartDestination(state, current, ch);
        state.needsDestination = false;
      }
    }
    if (current == 0) continue;
    if (runStart && !state.buffer.empty() && ch.line != state.lastLine)
      JoinLine(state.buffer, ch.code);
    state.buffer.push_back(ch.code);
    if (ch.line != state.lastLine || state.buffer.size() == 1) state.lastBottom = ch.bottom;
    state.lastBottom = std::min(state.lastBottom, ch.bottom);
    state.lastCharBottom = ch.bottom;
    state.lastLeft = ch.left;
    state.lastLine = ch.line;
    if (!runStart && !matcher_.Test(SampleOf(ch), current)) {
      state.needsDestination = true;
      state.forceBreak = true;
    }
  }
  return FinishTitle(state);
}

}  // namespace bm
