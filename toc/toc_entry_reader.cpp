#include "toc/toc_entry_reader.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

bool TocEntryReader::IsLeader(char16_t c) const {
  const int32_t type = options_.separator & 0x0F;
  if (c == u' ' || c == u'\t') return true;
  if (c == u'.') return type == 0 || (type & 1);
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
  Line line;
  for (auto [start, length] : ranges) {
    const int32_t end = std::min<int64_t>(count, static_cast<int64_t>(start) + length);
    for (int32_t i = std::max(start, 0); i < end; ++i) {
      const zelta::PageTextChar& c = chars[i];
      if (line.text.empty()) {
        line.area = {c.left, c.bottom, c.right, c.top};
        line.font = c.fontId;
        line.size = c.size;
      } else {
        line.area.left = std::min(line.area.left, c.left);
        line.area.bottom = std::min(line.area.bottom, c.bottom);
        line.area.right = std::max(line.area.right, c.right);
        line.area.top = std::max(line.area.top, c.top);
      }
      line.text.push_back(c.code);
      if ((c.flags & (zelta::kCharLineEnd | zelta::kCharBlockEnd)) || i + 1 == end) EndLine(line);
    }
  }
}

void TocEntryReader::Finish() {
  if (open_) Complete();
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
  // A number alone numbers only the title beside it on the same row; above other text it is
  // a folio or a stray number.
  if (open_ && looseNumber_ && current_.pieces.size() == 1 &&
      (ended.area.top <= previous_.area.bottom || ended.area.bottom >= previous_.area.top))
    Complete();

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
    size_t run = numberAt;
    while (run > first && IsLeader(text[run - 1])) --run;
    if (std::u16string_view(text).substr(run, numberAt - run).find_first_of(u"._") !=
        std::u16string_view::npos)
      page = -2;
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
  if (page == -1) title = text.substr(first);
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
