#include "toc/toc_entry_reader.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace bm {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A section number standing alone: "1.1", "2.3.4.", "B.1" (digits, or one capital letter, in
// parts joined by dots).
bool IsSectionNumber(std::u16string_view text) {
  if (text.find(u'.') == std::u16string_view::npos) return false;
  size_t part = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != u'.') continue;
    std::u16string_view piece = text.substr(part, i - part);
    const bool letter = piece.size() == 1 && piece[0] >= u'A' && piece[0] <= u'Z';
    const bool digits = !piece.empty() && std::all_of(piece.begin(), piece.end(), IsDigit);
    if (!letter && !digits && !(piece.empty() && i == text.size() && i > 0)) return false;
    part = i + 1;
  }
  return true;
}

// A roman page number ("iv", "XII"), as front matter is numbered.
bool IsRomanNumber(std::u16string_view text) {
  return !text.empty() && text.size() <= 12 &&
         std::all_of(text.begin(), text.end(), [](char16_t c) {
           return std::u16string_view(u"ivxlcdmIVXLCDM").find(c) != std::u16string_view::npos;
         });
}

// A printed page number longer than this is not a page of any document.
constexpr size_t kMaxDigits = 9;
// A gap between two characters wider than this share of the font size separates words.
constexpr double kWordGap = 0.2;

bool IsDot(char16_t c) {
  return c == u'.' || c == u'\u2026' || c == u'\u00B7' || c == u'\u2219' || c == u'\u22C5';
}

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// What numbers an entry or gives its page: "12", "iv", "2.3.1", "A.1", "B".
bool IsEnumerator(std::u16string_view text) {
  if (text.empty()) return false;
  if (text.size() <= kMaxDigits && std::all_of(text.begin(), text.end(), IsDigit)) return true;
  if (text.size() <= 2 && text[0] >= u'A' && text[0] <= u'Z' &&
      (text.size() == 1 || text[1] == u'.'))
    return true;
  return IsSectionNumber(text) || IsRomanNumber(text);
}

// A section number of two or more parts too wide for the box it is set in runs into its
// title ("10.10Exceptions", "18.10tie"): a blank goes between them.
void SeparateSectionNumber(std::u16string& text, size_t first) {
  size_t i = first, parts = 0;
  while (i < text.size() && IsDigit(text[i])) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    ++parts;
    if (i + 1 < text.size() && text[i] == u'.' && IsDigit(text[i + 1]))
      ++i;
    else
      break;
  }
  if (parts < 2 || i >= text.size()) return;
  const char16_t c = text[i];
  const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0xC0;
  if (letter && !IsDot(c)) text.insert(i, 1, u' ');
}

// Leader marks in the run of dots, underscores and blanks from first up to the first other
// character (an ellipsis counts three).
template <typename Iterator>
int LeaderMarks(Iterator first, Iterator last) {
  int marks = 0;
  for (; first != last; ++first) {
    const char16_t c = *first;
    if (c == u'\u2026')
      marks += 3;
    else if (IsDot(c) || c == u'_')
      ++marks;
    else if (!IsBlank(c))
      break;
  }
  return marks;
}

// Whether text begins with a leader run: the leaders and page number of a title before it.
bool StartsWithLeaders(std::u16string_view text) {
  return LeaderMarks(text.begin(), text.end()) >= 3;
}

// Whether text ends in a leader run: dots or underscores, blanks between them or not, at
// least three of them.
bool EndsInLeaders(std::u16string_view text) {
  return LeaderMarks(text.rbegin(), text.rend()) >= 3;
}

}  // namespace

bool TocEntryReader::IsLeader(char16_t c) const {
  const int32_t type = options_.separator & 0x0F;
  if (c == u' ' || c == u'\t') return true;
  if (IsDot(c)) return type == 0 || (type & 1);
  if (c == u'_') return type == 0 || (type & 2);
  return false;
}

int32_t TocEntryReader::Resolve(const std::u16string& number) const {
  int64_t index = -1;
  if (auto label = labels_.find(number); label != labels_.end()) {
    index = static_cast<int64_t>(label->second) + options_.pageOffset;
  } else {
    if (number.empty() || number.size() > kMaxDigits ||
        !std::all_of(number.begin(), number.end(),
                     [](char16_t c) { return c >= u'0' && c <= u'9'; }))
      return -1;
    int64_t value = 0;
    for (char16_t c : number) value = value * 10 + (c - u'0');
    index = value + options_.pageOffset - 1;
  }
  return index >= 0 && index < options_.pageCount ? static_cast<int32_t>(index) : -2;
}

void TocEntryReader::ReadPage(int32_t page, const zelta::PageBox& box,
                              const zelta::PageTextChar* chars, int32_t count,
                              const std::vector<std::pair<int32_t, int32_t>>& ranges) {
  page_ = page;
  box_ = box;
  std::vector<Line> pieces;
  Line line;
  double lastRight = 0;
  for (auto [start, length] : ranges) {
    const int32_t end = std::min<int64_t>(count, static_cast<int64_t>(start) + length);
    for (int32_t i = std::max(start, 0); i < end; ++i) {
      const zelta::PageTextChar& c = chars[i];
      if (line.text.empty()) {
        line.area = {c.left, c.bottom, c.right, c.top};
        line.font = c.fontId;
        line.size = c.size;
      } else {
        // Text set apart by more than a thin space is two words even when the page has no
        // blank between them (a section number placed in a box of its own).
        const double gap = c.left - lastRight;
        if (gap > kWordGap * std::max<double>(c.size, line.size) && !IsBlank(c.code) &&
            !IsBlank(line.text.back()))
          line.text.push_back(u' ');
        line.area.left = std::min(line.area.left, c.left);
        line.area.bottom = std::min(line.area.bottom, c.bottom);
        line.area.right = std::max(line.area.right, c.right);
        line.area.top = std::max(line.area.top, c.top);
      }
      lastRight = c.right;
      line.text.push_back(c.code);
      if ((c.flags & (zelta::kCharLineEnd | zelta::kCharBlockEnd)) || i + 1 == end) {
        pieces.push_back(std::move(line));
        line = Line{};
      }
    }
  }
  for (Line& joined : JoinRows(std::move(pieces))) EndLine(joined);
}

std::vector<TocEntryReader::Line> TocEntryReader::JoinRows(std::vector<Line> pieces) const {
  // Rows: pieces side by side whose heights overlap by half the smaller one, in the reading
  // order of their first piece; a joined line takes the place of its leftmost piece (a page
  // number read before its title does not move the title up).
  std::vector<std::vector<size_t>> rows;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const zelta::PageBox& a = pieces[i].area;
    bool placed = false;
    for (auto& row : rows) {
      const zelta::PageBox& b = pieces[row.front()].area;
      const double overlap = std::min(a.top, b.top) - std::max(a.bottom, b.bottom);
      if (overlap < 0.5 * std::min(a.top - a.bottom, b.top - b.bottom)) continue;
      const bool beside = std::all_of(row.begin(), row.end(), [&](size_t j) {
        return pieces[j].area.left >= a.right - 0.5 || pieces[j].area.right <= a.left + 0.5;
      });
      if (!beside) continue;
      row.push_back(i);
      placed = true;
      break;
    }
    if (!placed) rows.push_back({i});
  }
  // Within a row a contents line is [number] title [leaders] page number, and typesetters
  // often set each part as a text object of its own. A lone number joins the title after it
  // when it opens the row; a page number joins what stands before it when it closes the row,
  // or follows a leader run; a leader run joins the title before it. Other pieces side by side
  // are columns and stay apart.
  std::vector<std::pair<size_t, Line>> lines;
  for (auto& row : rows) {
    std::sort(row.begin(), row.end(),
              [&](size_t a, size_t b) { return pieces[a].area.left < pieces[b].area.left; });
    size_t at = row.front();
    Line current = std::move(pieces[row.front()]);
    for (size_t k = 1; k < row.size(); ++k) {
      Line& next = pieces[row[k]];
      const std::u16string_view left = Trimmed(current.text), right = Trimmed(next.text);
      const bool opens = k == 1 && IsEnumerator(left) && !IsEnumerator(right);
      // The page number, alone or after a few leaders.
      std::u16string_view printed = right;
      while (!printed.empty() &&
             (IsDot(printed.front()) || printed.front() == u'_' || IsBlank(printed.front())))
        printed.remove_prefix(1);
      const bool number =
          (printed.size() == right.size() || IsDot(right.front()) || right.front() == u'_') &&
          (IsEnumerator(printed) || labels_.count(std::u16string(printed)) > 0);
      const bool closes =
          (number && (k + 1 == row.size() || EndsInLeaders(left))) || StartsWithLeaders(right);
      if (opens || closes || EndsInLeaders(left)) {
        current.text = std::u16string(left) + u' ' + std::u16string(right);
        current.area.left = std::min(current.area.left, next.area.left);
        current.area.bottom = std::min(current.area.bottom, next.area.bottom);
        current.area.right = std::max(current.area.right, next.area.right);
        current.area.top = std::max(current.area.top, next.area.top);
        continue;
      }
      lines.emplace_back(at, std::move(current));
      current = std::move(next);
      at = row[k];
    }
    lines.emplace_back(at, std::move(current));
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Line> out;
  out.reserve(lines.size());
  for (auto& [order, joined] : lines) out.push_back(std::move(joined));
  return out;
}

void TocEntryReader::Finish() {
  if (open_) Complete();
  DropFurniture();
}

void TocEntryReader::DropFurniture() {
  const size_t n = entries_.size();
  std::vector<bool> drop(n, false);
  auto top = [&](size_t i) { return entries_[i].areas.front().box.top; };
  auto bottom = [&](size_t i) { return entries_[i].areas.back().box.bottom; };
  auto pageOf = [&](size_t i) { return entries_[i].areas.front().page; };
  auto style = [&](size_t i) {
    return std::make_pair(entries_[i].font,
                          static_cast<int32_t>(std::lround(entries_[i].size * 10)));
  };
  // The highest and lowest entry of each page, and the span its numbered entries take.
  struct PageSpan {
    size_t highest = 0, lowest = 0;
    double numberedTop = -INFINITY, numberedBottom = INFINITY;
    double numberedLeft = INFINITY;  // where the leftmost numbered entry starts
  };
  std::map<int32_t, PageSpan> pages;
  for (size_t i = 0; i < n; ++i) {
    auto [at, added] = pages.try_emplace(pageOf(i), PageSpan{i, i});
    if (top(i) > top(at->second.highest)) at->second.highest = i;
    if (bottom(i) < bottom(at->second.lowest)) at->second.lowest = i;
  }
  // Running heads and feet: the same text, its numbers aside, at the same height as the
  // highest or lowest line of two or more pages. A number in them is the page's own folio;
  // entries that lead elsewhere ("Exercises" ending two full pages) stay.
  std::map<std::u16string, std::vector<size_t>> repeated;
  for (size_t i = 0; i < n; ++i) {
    const PageSpan& span = pages[pageOf(i)];
    if (i != span.highest && i != span.lowest) continue;
    if (entries_[i].numbered && entries_[i].target != pageOf(i)) continue;
    std::u16string key;
    for (const std::u16string& piece : entries_[i].pieces)
      for (char16_t c : piece)
        if (!IsDigit(c) && !IsBlank(c)) key.push_back(c);
    if (!key.empty()) repeated[key].push_back(i);
  }
  for (const auto& [key, group] : repeated) {
    std::set<int32_t> onPages;
    for (size_t i : group) onPages.insert(pageOf(i));
    const double tolerance = entries_[group.front()].size / 2;
    const double first = top(group.front());
    const bool samePlace = std::all_of(group.begin(), group.end(), [&](size_t i) {
      return std::abs(top(i) - first) <= tolerance;
    });
    if (onPages.size() >= 2 && samePlace)
      for (size_t i : group) drop[i] = true;
  }
  // A line without a page number above or below all numbered entries of its page, in a style
  // no numbered entry has: the contents' own heading, a running head or a note at the foot.
  std::set<std::pair<uint32_t, int32_t>> numberedStyles;
  for (size_t i = 0; i < n; ++i) {
    if (drop[i] || !entries_[i].numbered) continue;
    numberedStyles.insert(style(i));
    PageSpan& span = pages[pageOf(i)];
    span.numberedTop = std::max(span.numberedTop, top(i));
    span.numberedBottom = std::min(span.numberedBottom, bottom(i));
    span.numberedLeft = std::min(span.numberedLeft, entries_[i].areas.front().box.left);
  }
  // In the style of the entries, such a line above them all is still the heading when it is
  // set well in from where they start (centred); an unnumbered part title stays.
  for (size_t i = 0; i < n; ++i) {
    const PageSpan& span = pages[pageOf(i)];
    if (drop[i] || entries_[i].numbered || !std::isfinite(span.numberedTop)) continue;
    const double slack = entries_[i].size / 4;
    const bool above = bottom(i) >= span.numberedTop - slack;
    if (numberedStyles.count(style(i))
            ? above && entries_[i].areas.front().box.left > span.numberedLeft + 4 * entries_[i].size
            : above || top(i) <= span.numberedBottom + slack)
      drop[i] = true;
  }
  size_t kept = 0;
  for (size_t i = 0; i < n; ++i)
    if (!drop[i]) {
      if (kept != i) entries_[kept] = std::move(entries_[i]);
      ++kept;
    }
  entries_.resize(kept);
}

void TocEntryReader::EndLine(Line& line) {
  Line ended = std::move(line);
  line = Line{};
  std::u16string& text = ended.text;
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  if (first == text.size()) return;
  // An entry waiting for its number ends before text in another font or size, unless all it
  // has is a section number, which is often set apart from its title.
  if (open_ && (ended.font != previous_.font || std::abs(ended.size - previous_.size) > 0.001f) &&
      !(current_.pieces.size() == 1 && IsSectionNumber(current_.pieces[0])))
    Complete();
  // Lines of one entry follow each other: text more than a line and a half further down the
  // same page (a running foot below a running head) begins another. A title goes on at its
  // own indent or further in: a line that starts well left of it (the first entry under the
  // contents' centred heading) begins another too.
  const double em = std::max(ended.size, previous_.size);
  if (open_ && current_.areas.back().page == page_ &&
      (ended.area.top < previous_.area.bottom - 1.5 * em ||
       ended.area.left < current_.areas.front().box.left - 2 * em))
    Complete();
  // A number alone numbers only the title beside it on the same row; above other text it is
  // a folio or a stray number.
  if (open_ && looseNumber_ && current_.pieces.size() == 1 &&
      (ended.area.top <= previous_.area.bottom || ended.area.bottom >= previous_.area.top))
    Complete();

  SeparateSectionNumber(text, first);
  size_t leader = text.size();
  while (leader > first && !IsLeader(text[leader - 1])) --leader;
  const bool hasLeader = leader > first;
  const size_t numberAt = hasLeader && leader < text.size() ? leader : first;
  // A section number on a line of its own: its dots are no leaders, its last part no page.
  int32_t page = IsSectionNumber(std::u16string_view(text).substr(first))
                     ? -1
                     : Resolve(text.substr(numberAt));
  // A roman number after dot or underscore leaders is a page number that no page label
  // resolves: the entry is complete and leads nowhere, rather than running on into the next.
  if (page == -1 && numberAt > first && IsRomanNumber(std::u16string_view(text).substr(numberAt))) {
    // A run of one mark is part of a word ("next_id"), not a leader.
    size_t run = numberAt;
    while (run > first && IsLeader(text[run - 1])) --run;
    const std::u16string_view leaders = std::u16string_view(text).substr(run, numberAt - run);
    if (leaders.size() >= 2 && leaders.find_first_of(u"._") != std::u16string_view::npos) page = -2;
  }
  std::u16string title;
  if (page != -1 && numberAt > first) {
    size_t cut = numberAt;
    while (cut > first && IsLeader(text[cut - 1])) --cut;
    title = text.substr(first, cut - first);
  }
  // A number alone on a line completes the entry waiting for it; with none waiting it is the
  // number the next line's title is numbered with ("1" above "Introduction"), or the page's
  // own folio, which no title follows.
  const bool looseNumber = page != -1 && numberAt == first && !open_;
  if (looseNumber) page = -1;
  if (page == -1) {
    title = text.substr(first);
    // Leaders without a number after them (the number is elsewhere or unreadable) are no
    // part of the title; an ellipsis of three dots is.
    size_t cut = title.size();
    while (cut > 0 && (IsLeader(title[cut - 1]) || IsDot(title[cut - 1]) || title[cut - 1] == u'_'))
      --cut;
    const std::u16string_view run = std::u16string_view(title).substr(cut);
    if (cut > 0 && EndsInLeaders(run) &&
        (run.size() > 3 || run.find_first_of(u" \t") != std::u16string_view::npos))
      title.resize(cut);
  }
  // A number on a line of its own that completes an entry adds no title text: it is where
  // the entry leads, not what it is called.

  const bool inBand = ended.area.top <= box_.top - options_.topIndent + 0.001 &&
                      ended.area.bottom >= box_.bottom + options_.bottomIndent - 0.001;
  if (!inBand) {
    if (open_) Complete();
    return;
  }
  if (!open_) {
    current_ = TocLineEntry{};
    current_.font = ended.font;
    current_.size = ended.size;
    current_.x = ended.area.left;
    current_.tocPage = page_;
    current_.target = page_;
    open_ = true;
    looseNumber_ = looseNumber;
  } else {
    current_.lastLineX = ended.area.left;
  }
  if (!title.empty()) current_.pieces.push_back(std::move(title));
  current_.areas.push_back({page_, ended.area});
  previous_ = std::move(ended);
  if (page == -1) return;
  current_.numbered = true;
  if (page >= 0)
    current_.target = page;
  else
    ++outside_;
  Complete();
}

void TocEntryReader::Complete() {
  open_ = false;
  if (current_.areas.empty() || current_.pieces.empty()) return;
  if (looseNumber_ && current_.pieces.size() == 1 && !current_.numbered) return;
  entries_.push_back(std::move(current_));
  current_ = TocLineEntry{};
}

}  // namespace bm
