#include "autogen/level_suggester.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "autogen/title_formatter.h"
#include "autogen/title_rules.h"
#include "framework/color_text.h"
#include "framework/host_strings.h"
#include "platform/locale_text.h"

namespace bm {

namespace {

// A contents page or an index page: at least this many entries, and this share of its lines.
constexpr int kMinEntries = 4;
constexpr double kEntryShare = 0.4;
// The same text at the same place on at least this many pages is a running header or footer.
constexpr int kRunningPages = 3;
// Sizes this close are one size (the host rounds sizes to tenths of a point).
constexpr double kSameSize = 0.3;
// A style stands out by size when it is this much larger than the body text.
constexpr double kLarger = 0.5;
// A line of running text spans at least this share of the text's width on its page.
constexpr double kFullWidth = 0.8;
// A smaller style within a heading line is part of the title when it is at most this much
// smaller and sets at least kOnlyInside of its characters on the level's lines.
constexpr double kPartSize = 0.15;
constexpr double kOnlyInside = 0.9;
// A heading line has at most this share of body text in it.
constexpr double kBodyShareOfHeading = 0.25;
// A run-in heading level needs this many numbered line starts, and this share of the style's
// line starts.
constexpr int kMinRunIns = 3;
constexpr double kRunInShare = 0.6;
// A level whose headings carry section numbers more often than not takes numbered ones only.
constexpr double kNumberedShare = 0.5;
// A style whose numbers come at more depths, each on this share of its numbered lines, sets
// as many levels (a subsection and a sub-subsection in one font).
constexpr double kDepthShare = 0.2;
// A heading text that recurs this often is a label, not a title.
constexpr uint32_t kRecurring = 4;
// Styles weighed as levels, more than are kept, so that weak ones do not crowd out sound ones.
constexpr size_t kCandidateLevels = 2 * LevelSuggester::kMaxLevels;
// When the printed contents list this share of one level's headings, a level of which they
// list less than kUnlisted is no level of the outline.
constexpr double kListed = 0.5;
constexpr double kUnlisted = 0.15;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsRoman(char16_t c) {
  return std::u16string_view(u"ivxlcdmIVXLCDM").find(c) != std::u16string_view::npos;
}

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// "Title . . . . 12", "Title ...... iv": a contents or index entry with leader dots.
// "term, 12, 45": an index entry.
bool IsEntry(std::u16string_view text) {
  text = Trimmed(text);
  size_t end = text.size();
  bool digits = false;
  while (end > 0 && (IsDigit(text[end - 1]) || IsRoman(text[end - 1]))) {
    digits = digits || IsDigit(text[end - 1]);
    --end;
  }
  if (end == text.size() || end == 0) return false;
  // A roman page number is a short lower-case or upper-case word.
  if (!digits && text.size() - end > 6) return false;
  size_t dots = 0, at = end;
  while (at > 0 && (IsBlank(text[at - 1]) || text[at - 1] == u'.' || text[at - 1] == 0x2026 ||
                    text[at - 1] == 0xB7)) {
    if (!IsBlank(text[at - 1])) ++dots;
    --at;
  }
  if (dots >= 3) return true;
  return digits && at > 0 && text[at - 1] == u',';
}

// "12", "xiv": a page number alone.
bool IsPageNumber(std::u16string_view text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 6) return false;
  const bool digits = std::all_of(text.begin(), text.end(), IsDigit);
  const bool roman = std::all_of(text.begin(), text.end(), [](char16_t c) {
    return std::u16string_view(u"ivxlc").find(c) != std::u16string_view::npos;
  });
  return (digits && text.size() <= 4) || roman;
}

// "2.3 ", "A.1.4 ", "12. ": a section number at the start; its depth (number of parts), or 0.
int NumberDepth(std::u16string_view text) {
  text = Trimmed(text);
  size_t i = 0;
  int parts = 0;
  for (;;) {
    const size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == start) {
      if (parts == 0 && i < text.size() && text[i] >= u'A' && text[i] <= u'Z') ++i;
      if (i == start) return 0;
    }
    ++parts;
    if (i < text.size() && text[i] == u'.' && i + 1 < text.size() && IsDigit(text[i + 1])) {
      ++i;
      continue;
    }
    if (i < text.size() && text[i] == u'.') ++i;
    break;
  }
  if (i >= text.size() || !IsBlank(text[i])) return 0;
  // A lone capital ("A word") is no number.
  return parts == 1 && !IsDigit(text[0]) ? 0 : parts;
}

int MostCommon(const std::map<int, uint32_t>& depths) {
  return std::max_element(depths.begin(), depths.end(),
                          [](const auto& a, const auto& b) { return a.second < b.second; })
      ->first;
}

// Section numbers of `depth` parts: "3 ", "3.1 ", "A.2.1 " (a letter starts only a number of
// several parts: a lone capital is mostly a word).
std::u16string NumberPattern(int depth) {
  if (depth <= 1) return u"^[0-9]+\\.?\\s";
  return u"^([0-9]+|[A-Z])(\\.[0-9]+){" + NumberText(static_cast<uint32_t>(depth - 1)) +
         u"}\\.?\\s";
}

std::u16string Sample(const SurveyLine& line) {
  std::u16string text = CollapseBlanks(Trimmed(line.text));
  if (text.size() > 60) text = text.substr(0, 57) + u"...";
  return u"\"" + text + u"\"";
}

std::u16string SizeText(double size) {
  const int tenths = static_cast<int>(std::lround(size * 10));
  return NumberText(static_cast<uint32_t>(tenths / 10)) + u"." +
         NumberText(static_cast<uint32_t>(tenths % 10)) + u" pt";
}

// The letters of a text, in lower case, without its section number: what a heading and its
// contents entry share.
std::u16string Letters(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text)
    if (platform::IsAlpha(c)) out.push_back(c);
  platform::LowerCaseInPlace(out.data(), out.size());
  return out;
}

std::u16string Percent(double share) {
  return NumberText(static_cast<uint32_t>(std::lround(std::clamp(share, 0.0, 1.0) * 100))) + u"%";
}

// One decimal: "2.4".
std::u16string Decimal(double value) {
  const auto tenths = static_cast<uint32_t>(std::lround(std::max(value, 0.0) * 10));
  return NumberText(tenths / 10) + u"." + NumberText(tenths % 10);
}

// "3-9, 12, 40-" from sorted zero-based page indexes; open at the end when the list runs to
// the last page.
std::u16string RangeText(const std::vector<int32_t>& pages, int32_t last) {
  std::u16string text;
  for (size_t i = 0; i < pages.size();) {
    size_t j = i;
    while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1) ++j;
    if (!text.empty()) text += u", ";
    text += NumberText(static_cast<uint32_t>(pages[i] + 1));
    if (pages[j] == last)
      text += u"-";
    else if (j > i)
      text += u"-" + NumberText(static_cast<uint32_t>(pages[j] + 1));
    i = j + 1;
  }
  return text;
}

}  // namespace

struct LevelSuggester::StyleUse {
  uint64_t chars = 0;              // in the lines considered
  uint32_t lineStarts = 0;         // lines that start with the style
  uint32_t headings = 0;           // of those, short lines of (almost) only heading text
  uint64_t headingChars = 0;       // the style's characters in those lines
  uint32_t numbered = 0;           // line starts with a section number in the style
  std::map<int, uint32_t> depths;  // of those numbers
  std::set<int32_t> pages;         // pages with a heading line
  int64_t sample = -1;             // the first heading line
  int32_t level = -1;              // the level the style went into
  std::u16string name;
  bool bold = false, known = false;
};

struct LevelSuggester::Level {
  std::vector<uint32_t> styles;
  LevelOptions options;
  uint32_t lines = 0;
  int64_t sample = -1;
  bool runIn = false;     // bold body text that starts a paragraph with a section number
  bool ownLines = false;  // of those, numbered lines of their own in a style used inside text
  int depth = 0;          // its headings carry section numbers of this many parts (0: any)
  bool twoChars = false;  // lines of one character are not its headings
  uint32_t labels = 0;    // its lines that are recurring labels
  LevelEvidence evidence;
  std::u16string notes;  // why its options are what they are, one line each
};

LevelSuggester::LevelSuggester(const TypographySurvey& survey, FontFacts& fonts)
    : survey_(survey), fonts_(fonts) {}

LevelSuggester::~LevelSuggester() = default;

bool LevelSuggester::Bold(uint32_t style) {
  FontName(style);
  return uses_[style].bold;
}

std::u16string LevelSuggester::FontName(uint32_t style) {
  StyleUse& use = uses_[style];
  if (!use.known) {
    use.known = true;
    bool bold = false;
    if (!fonts_.Describe(survey_.Styles()[style].fontId, &use.name, &bold)) use.name.clear();
    // Font programs do not always say so: the name tells for most families.
    std::u16string upper = use.name;
    platform::UpperCaseInPlace(upper.data(), upper.size());
    for (std::u16string_view mark : {u"BOLD", u"BLACK", u"HEAVY", u"SEMIB", u"DEMI", u"CMBX",
                                     u"CMB1", u"CMB9", u"CMB8", u"CMB7", u"CMSSBX"})
      bold = bold || upper.find(mark) != std::u16string::npos;
    use.bold = bold;
  }
  return use.name;
}

namespace {

// The family part of a font name: no subset tag, no style after "-" or ",", no size digits,
// no vendor suffix ("ABCDEF+TimesNewRomanPS-BoldMT" -> "TIMESNEWROMAN").
std::u16string FamilyOf(std::u16string name) {
  if (name.size() > 7 && name[6] == u'+') name.erase(0, 7);
  name = name.substr(0, name.find_first_of(u"-,"));
  while (!name.empty() && IsDigit(name.back())) name.pop_back();
  platform::UpperCaseInPlace(name.data(), name.size());
  for (std::u16string_view suffix : {u"PSMT", u"MT", u"PS"})
    if (name.size() > suffix.size() && name.ends_with(suffix)) {
      name.resize(name.size() - suffix.size());
      break;
    }
  return name;
}

bool Slanted(std::u16string upper) {
  platform::UpperCaseInPlace(upper.data(), upper.size());
  for (std::u16string_view mark : {u"ITAL", u"OBLIQUE", u"SLANT", u"CMTI", u"CMSL", u"CMMI"})
    if (upper.find(mark) != std::u16string::npos) return true;
  return false;
}

}  // namespace

bool LevelSuggester::OtherFace(uint32_t style) {
  const std::u16string name = FontName(style);
  const std::u16string body = FontName(static_cast<uint32_t>(body_));
  if (name.empty() || body.empty() || Slanted(name) || survey_.Styles()[style].Monospaced())
    return false;
  return FamilyOf(name) != FamilyOf(body);
}

bool LevelSuggester::StandsOutByFaceOnly(uint32_t style) {
  const SurveyStyle& s = survey_.Styles()[style];
  const SurveyStyle& body = survey_.Styles()[static_cast<size_t>(body_)];
  return std::abs(s.Size() - body.Size()) < kLarger && s.color == body.color && !Bold(style) &&
         OtherFace(style);
}

// Whether another level sets this level's face at its size in another colour (black chapter
// titles and blue section titles of one font): then the colour tells them apart, even where
// it is the body's.
bool LevelSuggester::ColourTellsApart(size_t level) {
  const auto& styles = survey_.Styles();
  for (uint32_t s : levels_[level].styles)
    for (size_t other = 0; other < levels_.size(); ++other)
      for (uint32_t t : levels_[other].styles)
        if (other != level && styles[s].color != styles[t].color &&
            std::abs(styles[s].Size() - styles[t].Size()) <= kSameSize &&
            FontName(s) == FontName(t))
          return true;
  return false;
}

std::u16string LevelSuggester::StyleText(uint32_t style) {
  const SurveyStyle& s = survey_.Styles()[style];
  std::u16string text = FontName(style) + u" " + SizeText(s.Size());
  if (s.color != kOpaqueBlack) text += u" " + ColorText(s.color);
  return text;
}

bool LevelSuggester::Considered(size_t line) const {
  const SurveyLine& l = survey_.Lines()[line];
  return !running_[line] && !l.runs.empty() && pageKind_[static_cast<size_t>(l.page)] == 0;
}

void LevelSuggester::ClassifyPages() {
  int32_t last = -1;
  for (const SurveyLine& line : survey_.Lines()) last = std::max(last, line.page);
  pageKind_.assign(static_cast<size_t>(last + 1), 0);
  std::vector<int> lines(pageKind_.size()), entries(pageKind_.size());
  // The text's left and right edge on each page.
  std::vector<std::pair<float, float>> edges(pageKind_.size(), {1e9f, -1e9f});
  for (size_t i = 0; i < survey_.Lines().size(); ++i) {
    const SurveyLine& line = survey_.Lines()[i];
    if (line.runs.empty() || running_[i]) continue;
    auto& [left, right] = edges[static_cast<size_t>(line.page)];
    left = std::min(left, line.left);
    right = std::max(right, line.right);
  }
  // Lines counted by their height on the page: a contents entry may come as three lines
  // (number, title with leader dots, page number) on one row.
  std::vector<std::set<int32_t>> rows(pageKind_.size());
  for (size_t i = 0; i < survey_.Lines().size(); ++i) {
    const SurveyLine& line = survey_.Lines()[i];
    if (line.runs.empty() || running_[i]) continue;
    if (rows[static_cast<size_t>(line.page)]
            .insert(static_cast<int32_t>(std::lround(line.top)))
            .second)
      ++lines[static_cast<size_t>(line.page)];
    const auto& [left, right] = edges[static_cast<size_t>(line.page)];
    // Page numbers set apart at the right edge, their titles on lines of their own.
    const bool pageNumber =
        IsPageNumber(line.text) && line.right >= right - 3 && line.left > left + (right - left) / 2;
    if (line.length <= TypographySurvey::kKeptText && (pageNumber || IsEntry(line.text)))
      ++entries[static_cast<size_t>(line.page)];
  }
  std::vector<int32_t> contents, index;
  for (size_t p = 0; p < pageKind_.size(); ++p) {
    // The last page of a contents or an index may hold only a few entries.
    const bool goesOn = p > 0 && pageKind_[p - 1] != 0 && entries[p] > 0;
    if ((entries[p] < kMinEntries && !goesOn) || entries[p] < kEntryShare * lines[p]) continue;
    // Contents come before the body of a document, an index after it.
    const bool front = p < pageKind_.size() / 2;
    pageKind_[p] = front ? 1 : 2;
    (front ? contents : index).push_back(static_cast<int32_t>(p));
  }
  if (!contents.empty())
    Note(u"Left out: pages " + RangeText(contents, -2) +
         u", a printed table of contents (entries with leader dots and page numbers)");
  if (!index.empty())
    Note(u"Left out: pages " + RangeText(index, -2) + u", an index (entries with page numbers)");
}

void LevelSuggester::FindRunningLines() {
  const auto& lines = survey_.Lines();
  running_.assign(lines.size(), false);
  // The highest and lowest line of each page: where running headers and footers stand.
  std::map<int32_t, std::pair<float, float>> edges;
  for (const SurveyLine& line : lines) {
    if (line.runs.empty()) continue;
    auto [at, added] = edges.try_emplace(line.page, line.top, line.top);
    at->second.first = std::max(at->second.first, line.top);
    at->second.second = std::min(at->second.second, line.top);
  }
  auto atEdge = [&](const SurveyLine& line) {
    const auto& [high, low] = edges[line.page];
    return line.top >= high - 2 || line.top <= low + 2;
  };
  // The text without its numbers (page and chapter numbers change) and the place.
  auto key = [](const SurveyLine& line) {
    std::u16string text;
    for (char16_t c : Trimmed(line.text))
      if (!IsDigit(c)) text.push_back(c);
    return std::make_pair(static_cast<int32_t>(std::lround(line.top / 3)), CollapseBlanks(text));
  };
  std::map<std::pair<int32_t, std::u16string>, std::pair<int, int32_t>> seen;  // pages, last
  for (const SurveyLine& line : lines) {
    if (line.runs.empty() || !atEdge(line)) continue;
    auto& [pages, last] = seen.try_emplace(key(line), 0, -1).first->second;
    if (last != line.page) ++pages;
    last = line.page;
  }
  size_t count = 0;
  int64_t example = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].runs.empty() || !atEdge(lines[i])) continue;
    auto at = seen.find(key(lines[i]));
    if (at == seen.end() || at->second.first < kRunningPages) continue;
    running_[i] = true;
    ++count;
    if (example < 0 && !key(lines[i]).second.empty()) example = static_cast<int64_t>(i);
  }
  if (count)
    Note(u"Left out: " + NumberText(count) +
         u" lines of running headers and footers (the same text at the same place on " +
         NumberText(static_cast<uint32_t>(kRunningPages)) + u" or more pages)" +
         (example >= 0 ? u", e.g. " + Sample(lines[static_cast<size_t>(example)]) : u""));
}

void LevelSuggester::CountStyles() {
  const auto& lines = survey_.Lines();
  uses_.assign(survey_.Styles().size(), StyleUse{});
  // Running text fills the width of the text on its page; code, tables and lists seldom do.
  std::map<int32_t, std::pair<float, float>> edges;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!Considered(i)) continue;
    for (const auto& [style, chars] : lines[i].runs) uses_[style].chars += chars;
    auto [at, added] = edges.try_emplace(lines[i].page, lines[i].left, lines[i].right);
    at->second.first = std::min(at->second.first, lines[i].left);
    at->second.second = std::max(at->second.second, lines[i].right);
  }
  std::vector<uint64_t> filling(uses_.size(), 0);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!Considered(i)) continue;
    const auto& [left, right] = edges[lines[i].page];
    if (lines[i].right - lines[i].left < kFullWidth * (right - left)) continue;
    for (const auto& [style, chars] : lines[i].runs) filling[style] += chars;
  }
  // The body is the style that sets most of the lines that fill the width; a document
  // without such lines (columns, lists) takes the style of most characters.
  // Code is set in a monospaced font: running text is not, when the document has any other.
  std::vector<bool> proportional(uses_.size());
  for (size_t s = 0; s < uses_.size(); ++s)
    proportional[s] = !survey_.Styles()[s].Monospaced() && uses_[s].chars > 0;
  const bool anyProportional =
      std::any_of(proportional.begin(), proportional.end(), [](bool b) { return b; });
  const bool anyFilling = std::any_of(filling.begin(), filling.end(), [](uint64_t n) { return n; });
  uint64_t most = 0;
  for (size_t s = 0; s < uses_.size(); ++s) {
    if (anyProportional && !proportional[s]) continue;
    const uint64_t count = anyFilling ? filling[s] : uses_[s].chars;
    if (count > most) {
      most = count;
      body_ = static_cast<int64_t>(s);
    }
  }
  if (body_ < 0) return;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!Considered(i)) continue;
    const SurveyLine& line = lines[i];
    const uint32_t first = line.runs.front().first;
    StyleUse& use = uses_[first];
    ++use.lineStarts;
    const int depth = NumberDepth(line.text);
    if (depth > 0) {
      ++use.numbered;
      ++use.depths[depth];
    }
    if (first == body_) continue;
    uint64_t all = 0, body = 0, own = 0, letters = 0;
    for (const auto& [style, chars] : line.runs) {
      all += chars;
      if (style == body_) body += chars;
      if (style == first) own += chars;
    }
    for (char16_t c : line.text) letters += platform::IsAlpha(c);
    // A heading line is mostly heading text, with two letters at least (not a formula).
    if (body > kBodyShareOfHeading * all || letters < 2 ||
        line.length >= TypographySurvey::kKeptText)
      continue;
    ++use.headings;
    use.headingChars += own;
    use.pages.insert(line.page);
    if (use.sample < 0) use.sample = static_cast<int64_t>(i);
  }
}

void LevelSuggester::ChooseLevels() {
  const SurveyStyle& body = survey_.Styles()[static_cast<size_t>(body_)];
  const bool bodyBold = Bold(static_cast<uint32_t>(body_));
  Note(u"Body text: " + StyleText(static_cast<uint32_t>(body_)) + u", " +
       NumberText(static_cast<uint32_t>(uses_[static_cast<size_t>(body_)].chars)) + u" characters");
  std::vector<uint32_t> candidates;
  for (uint32_t s = 0; s < uses_.size(); ++s) {
    StyleUse& use = uses_[s];
    if (s == body_ || use.headings == 0) continue;
    const SurveyStyle& style = survey_.Styles()[s];
    const bool larger = style.Size() >= body.Size() + kLarger;
    const bool sameSize = std::abs(style.Size() - body.Size()) < kLarger;
    const bool heavier = sameSize && Bold(s) && !bodyBold;
    const bool coloured = sameSize && style.color != body.color;
    const bool otherFace = sameSize && OtherFace(s);
    // Large text is a heading when it mostly stands on heading lines; text of the body's size
    // only when it almost never appears anywhere else.
    const double share = static_cast<double>(use.headingChars) / static_cast<double>(use.chars);
    std::u16string why;
    if (!larger && !heavier && !coloured && !otherFace) continue;
    if (share < (larger ? 0.5 : 0.8) || use.headings * 2 < use.lineStarts)
      why = u"mostly set inside paragraphs";
    else if (use.pages.size() < 2)
      why = u"on one page only";
    if (!why.empty()) {
      if (larger || otherFace)
        Note(u"Left out: " + StyleText(s) + u", " + why + u", e.g. " +
             Sample(survey_.Lines()[static_cast<size_t>(use.sample)]));
      continue;
    }
    candidates.push_back(s);
  }
  // Prominence: size, then weight.
  std::stable_sort(candidates.begin(), candidates.end(), [&](uint32_t a, uint32_t b) {
    const double sa = survey_.Styles()[a].Size(), sb = survey_.Styles()[b].Size();
    if (std::abs(sa - sb) > kSameSize) return sa > sb;
    return Bold(a) > Bold(b);
  });
  const auto& lines = survey_.Lines();
  for (uint32_t s : candidates) {
    if (uses_[s].level >= 0) continue;
    Level level;
    level.styles.push_back(s);
    uses_[s].level = static_cast<int32_t>(levels_.size());
    // Styles of the same size that share heading lines with this one are the same level (a
    // number in one font and the text in another, a code word in a title).
    // So is a slightly smaller style that sets nothing but parts of these lines (a tag after
    // the title, an overload counter).
    const double size = survey_.Styles()[s].Size();
    std::map<uint32_t, uint64_t> inside;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!Considered(i) || lines[i].runs.front().first != s) continue;
      ++level.lines;
      if (level.sample < 0) level.sample = static_cast<int64_t>(i);
      for (const auto& [other, chars] : lines[i].runs) {
        if (other == body_ || uses_[other].level >= 0) continue;
        const double otherSize = survey_.Styles()[other].Size();
        if (std::abs(otherSize - size) > kSameSize) {
          if (otherSize < size && otherSize >= (1 - kPartSize) * size) inside[other] += chars;
          continue;
        }
        uses_[other].level = static_cast<int32_t>(levels_.size());
        level.styles.push_back(other);
      }
    }
    for (const auto& [other, chars] : inside)
      if (uses_[other].level < 0 && uses_[other].lineStarts == 0 &&
          chars >= kOnlyInside * static_cast<double>(uses_[other].chars)) {
        uses_[other].level = static_cast<int32_t>(levels_.size());
        level.styles.push_back(other);
      }
    levels_.push_back(std::move(level));
    if (levels_.size() == kCandidateLevels) break;
  }
}

void LevelSuggester::AddRunInLevel() {
  if (levels_.size() >= kCandidateLevels) return;
  const SurveyStyle& body = survey_.Styles()[static_cast<size_t>(body_)];
  // The depth of numbers the numbered levels reach: in a bold style that also sets words
  // inside paragraphs, lines that start with a number one part deeper go on from them.
  int deepest = 0;
  for (const Level& level : levels_)
    if (const StyleUse& use = uses_[level.styles.front()]; use.numbered >= kMinRunIns)
      deepest = std::max(deepest, MostCommon(use.depths));
  for (uint32_t s = 0; s < uses_.size(); ++s) {
    const StyleUse& use = uses_[s];
    const SurveyStyle& style = survey_.Styles()[s];
    if (s == body_ || use.level >= 0 || !Bold(s) ||
        std::abs(style.Size() - body.Size()) >= kLarger || use.numbered < kMinRunIns)
      continue;
    const auto deeper = use.depths.find(deepest + 1);
    const bool mostlyNumbered = use.numbered >= kRunInShare * use.lineStarts;
    if (!mostlyNumbered && (deepest == 0 || deeper == use.depths.end() ||
                            deeper->second < static_cast<uint32_t>(kMinRunIns)))
      continue;
    const int depth = mostlyNumbered ? MostCommon(use.depths) : deepest + 1;
    Level level;
    level.styles.push_back(s);
    level.lines = mostlyNumbered ? use.numbered : deeper->second;
    level.runIn = true;
    level.ownLines = !mostlyNumbered;
    level.options.flags = kLevelMatchPattern;
    level.options.description.textPattern = NumberPattern(depth);
    level.depth = depth;
    const auto& lines = survey_.Lines();
    for (size_t i = 0; i < lines.size() && level.sample < 0; ++i)
      if (Considered(i) && lines[i].runs.front().first == s && NumberDepth(lines[i].text) == depth)
        level.sample = static_cast<int64_t>(i);
    uses_[s].level = static_cast<int32_t>(levels_.size());
    levels_.push_back(std::move(level));
    return;
  }
}

void LevelSuggester::KeepNumberedOnly() {
  const auto& lines = survey_.Lines();
  // Unnumbered chapters (a preface, an index) belong to the outline; below the top level an
  // unnumbered heading in a numbered style is one the author kept out of the contents.
  // Recurring labels count for neither.
  for (size_t l = 1; l < levels_.size(); ++l) {
    Level& level = levels_[l];
    if (level.options.Uses(kLevelMatchPattern)) continue;
    uint32_t all = 0, numbered = 0;
    std::map<int, uint32_t> depths;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!Considered(i) || uses_[lines[i].runs.front().first].level != static_cast<int32_t>(l) ||
          IsLabel(lines[i]))
        continue;
      ++all;
      if (const int depth = NumberDepth(lines[i].text)) {
        ++numbered;
        ++depths[depth];
      }
    }
    if (numbered < kMinRunIns || numbered <= kNumberedShare * all) continue;
    const std::vector<int> split = DepthsOfLevels(depths, numbered);
    const int depth = split.empty() ? MostCommon(depths) : split.front();
    level.options.flags |= kLevelMatchPattern;
    level.options.description.textPattern = NumberPattern(depth);
    level.depth = depth;
    level.notes += numbered == all
                       ? u"  every line in its style starts with a section number\n"
                       : u"  " + NumberText(numbered) + u" of " + NumberText(all) +
                             u" lines in its style start with a section number: the others "
                             u"are taken for headings kept out of the contents\n";
    if (split.size() > 1) SplitByDepth(l, split, depths);
  }
}

// Depths of the numbers that each start kDepthShare of the numbered lines, when these are two
// or more and follow each other ("4.1.2" and "4.1.2.3"); empty otherwise.
std::vector<int> LevelSuggester::DepthsOfLevels(const std::map<int, uint32_t>& depths,
                                                uint32_t numbered) {
  std::vector<int> found;
  for (const auto& [depth, count] : depths)
    if (count >= kMinRunIns && count >= kDepthShare * numbered) found.push_back(depth);
  for (size_t i = 1; i < found.size(); ++i)
    if (found[i] != found[i - 1] + 1) return {};
  return found.size() > 1 ? found : std::vector<int>{};
}

// The style's deeper numbers become levels of their own right below level l, each matching
// its depth; the generation falls back from one to the next within the style.
void LevelSuggester::SplitByDepth(size_t l, const std::vector<int>& split,
                                  const std::map<int, uint32_t>& depths) {
  const auto& lines = survey_.Lines();
  std::u16string counts;
  for (int depth : split)
    counts += (counts.empty() ? u"" : u", ") + NumberText(depths.at(depth)) + u" of " +
              NumberText(static_cast<uint32_t>(depth)) + u" parts";
  levels_[l].notes += u"  its section numbers have " + NumberText(split.size()) + u" depths (" +
                      counts + u"): each depth is a level\n";
  levels_[l].lines = depths.at(split.front());
  for (size_t k = 1; k < split.size(); ++k) {
    Level deeper;
    deeper.styles = levels_[l].styles;
    deeper.options = levels_[l].options;
    deeper.options.description.textPattern = NumberPattern(split[k]);
    deeper.depth = split[k];
    deeper.lines = depths.at(split[k]);
    deeper.notes = u"  the style of the level above, with section numbers of " +
                   NumberText(static_cast<uint32_t>(split[k])) + u" parts\n";
    levels_.insert(levels_.begin() + static_cast<ptrdiff_t>(l + k), std::move(deeper));
  }
  for (StyleUse& use : uses_)
    if (use.level > static_cast<int32_t>(l)) use.level += static_cast<int32_t>(split.size() - 1);
  for (size_t k = 0; k < split.size(); ++k) {
    Level& level = levels_[l + k];
    level.sample = -1;
    for (size_t i = 0; i < lines.size() && level.sample < 0; ++i)
      if (LevelOf(i, true) == static_cast<int32_t>(l + k)) level.sample = static_cast<int64_t>(i);
  }
}

void LevelSuggester::SkipSingleCharacters() {
  const auto& lines = survey_.Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const SurveyLine& line = lines[i];
    if (running_[i] || line.runs.empty() || line.runs.size() > 1 || line.runs[0].second > 1)
      continue;
    const int32_t l = uses_[line.runs[0].first].level;
    if (l < 0 || levels_[static_cast<size_t>(l)].options.Uses(kLevelMatchPattern)) continue;
    LevelOptions& options = levels_[static_cast<size_t>(l)].options;
    options.flags |= kLevelMatchPattern;
    options.description.textPattern = u"\\S\\S";
    levels_[static_cast<size_t>(l)].twoChars = true;
    levels_[static_cast<size_t>(l)].notes +=
        u"  lines of one character in its style (index letters, e.g. " + Sample(line) +
        u") are not headings\n";
  }
}

namespace {

// Whether run r of the line holds symbols only: runs count the line's non-blank characters.
bool RunIsSymbols(const SurveyLine& line, size_t r) {
  if (line.length > line.text.size()) return false;
  size_t at = 0;
  auto skip = [&](uint32_t n) {
    for (; n > 0 && at < line.text.size(); ++at)
      if (!IsBlank(line.text[at])) --n;
  };
  for (size_t k = 0; k < r; ++k) skip(line.runs[k].second);
  for (uint32_t n = line.runs[r].second; n > 0 && at < line.text.size(); ++at) {
    if (IsBlank(line.text[at])) continue;
    if (platform::IsAlphaNumeric(line.text[at])) return false;
    --n;
  }
  return true;
}

}  // namespace

void LevelSuggester::MarkSmallerRuns() {
  const auto& lines = survey_.Lines();
  const SurveyStyle& body = survey_.Styles()[static_cast<size_t>(body_)];
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!Considered(i)) continue;
    const auto& runs = lines[i].runs;
    const int32_t l = LevelOf(i, true);
    if (l < 0) continue;
    const int32_t first = uses_[runs.front().first].level;
    Level& level = levels_[static_cast<size_t>(l)];
    const double size = survey_.Styles()[runs.front().first].Size();
    // Smaller runs only in titles larger than the body: there no paragraph text can follow
    // them. Symbols from another font (a "<" in "operator<()") in titles of any size.
    const bool larger = size >= body.Size() + kLarger;
    for (size_t r = 1; r + 1 < runs.size(); ++r) {
      const uint32_t style = runs[r].first;
      if (uses_[style].level >= 0) continue;
      const bool resumes =
          std::any_of(runs.begin() + static_cast<ptrdiff_t>(r) + 1, runs.end(),
                      [&](const auto& run) { return uses_[run.first].level == first; });
      if (!resumes) continue;
      if (RunIsSymbols(lines[i], r)) {
        if (level.options.Uses(kLevelJoinSymbolRuns)) continue;
        level.options.flags |= kLevelJoinSymbolRuns;
        level.notes += u"  its headings hold symbols of another font, e.g. " + Sample(lines[i]) +
                       u": they continue the title\n";
      } else if (larger && survey_.Styles()[style].Size() <= size + kSameSize &&
                 !level.options.Uses(kLevelJoinSmallerRuns)) {
        level.options.flags |= kLevelJoinSmallerRuns;
        level.notes += u"  its headings mix sizes on one line, e.g. " + Sample(lines[i]) +
                       u": smaller runs between its runs continue the title\n";
      }
    }
  }
}

int32_t LevelSuggester::LevelOf(size_t i, bool labels) const {
  if (!Considered(i)) return -1;
  const SurveyLine& line = survey_.Lines()[i];
  int32_t l = uses_[line.runs.front().first].level;
  if (l < 0) return -1;
  // A style split by the depth of its numbers sets adjacent levels.
  if (levels_[static_cast<size_t>(l)].depth > 0) {
    const int depth = NumberDepth(line.text);
    while (levels_[static_cast<size_t>(l)].depth != depth) {
      const size_t next = static_cast<size_t>(l) + 1;
      if (next >= levels_.size() || levels_[next].styles != levels_[next - 1].styles) return -1;
      l = static_cast<int32_t>(next);
    }
  }
  const Level& level = levels_[static_cast<size_t>(l)];
  if (level.twoChars && line.runs.size() == 1 && line.runs[0].second < 2) return -1;
  if (!labels && IsLabel(line)) return -1;
  return l;
}

void LevelSuggester::WeighLevels(SuggestedOptions& out) {
  const auto& lines = survey_.Lines();
  std::vector<bool> considered(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) considered[i] = Considered(i);
  const HeadingEvidence evidence(survey_, considered, static_cast<uint32_t>(body_));
  // A style that sets recurring labels besides its headings is weighed with them: labels
  // are what makes a style of a fixed layout look like headings.
  std::vector<std::vector<size_t>> members(levels_.size());
  std::vector<uint32_t> labels(levels_.size(), 0);
  for (size_t i = 0; i < lines.size(); ++i)
    if (const int32_t l = LevelOf(i, true); l >= 0) {
      members[static_cast<size_t>(l)].push_back(i);
      labels[static_cast<size_t>(l)] += IsLabel(lines[i]);
    }
  // Why each level is left out; empty for the levels kept.
  std::vector<std::u16string> drop(levels_.size());
  std::vector<std::u16string> figures(levels_.size());
  for (size_t l = 0; l < levels_.size(); ++l) {
    Level& level = levels_[l];
    const StyleUse& use = uses_[level.styles.front()];
    const double inParagraphs =
        use.chars ? 1 - static_cast<double>(use.headingChars) / static_cast<double>(use.chars) : 1;
    level.evidence = evidence.Weigh(members[l], level.runIn ? 0 : inParagraphs, level.runIn);
    level.labels = labels[l];
    const LevelEvidence& e = level.evidence;
    figures[l] = u"lines " + NumberText(e.lines) + u" on " + NumberText(e.pages) +
                 u" pages, space above " + Percent(e.alone) + u", short " + Percent(e.brief) +
                 u", aligned " + Percent(e.aligned) + u", numbered " + Percent(e.numbered) +
                 u", style inside paragraphs " + Percent(e.inParagraphs) + u": confidence " +
                 Percent(e.Confidence());
    // A style that differs from the body by its face alone says less than size or weight.
    const double needed = StandsOutByFaceOnly(level.styles.front()) ? kSure : kWeakLevel;
    if (e.Confidence() < needed || e.pages < 2) drop[l] = u"too weak for a level";
  }
  // Levels nest: a level whose first heading comes after several headings of a deeper,
  // larger level is no parent of it (text in pictures, a style of a few pages). A stray line
  // or two of the deeper style early on (a bold mark in the preface) proves nothing.
  auto opening = [&](size_t l) { return members[l].empty() ? SIZE_MAX : members[l].front(); };
  auto before = [&](size_t l, size_t line) {
    return std::lower_bound(members[l].begin(), members[l].end(), line) - members[l].begin();
  };
  for (size_t l = 0; l < levels_.size(); ++l) {
    if (!drop[l].empty()) continue;
    for (size_t deeper = l + 1; deeper < levels_.size(); ++deeper)
      if (drop[deeper].empty() && before(deeper, opening(l)) >= kMinRunIns &&
          levels_[deeper].evidence.lines > levels_[l].evidence.lines) {
        drop[l] = u"its headings start only after those of a level below it";
        break;
      }
  }
  DropUnlistedLevels(members, drop);
  DropLevelsThatDoNotNest(drop);
  // Weak levels make room for sound ones below them; past the levels an outline is given,
  // the least prominent go.
  size_t sound = 0;
  for (std::u16string& why : drop)
    if (why.empty() && ++sound > kMaxLevels)
      why = u"more than " + NumberText(static_cast<uint32_t>(kMaxLevels)) + u" levels before it";
  std::vector<Level> kept;
  for (size_t l = 0; l < levels_.size(); ++l) {
    Level& level = levels_[l];
    const std::u16string sample =
        level.sample >= 0 ? u", e.g. " + Sample(lines[static_cast<size_t>(level.sample)]) : u"";
    if (!drop[l].empty()) {
      Note(u"Left out: " + StyleText(level.styles.front()) + u", " + drop[l] + u" (" + figures[l] +
           u")" + sample);
      continue;
    }
    level.notes = u"  " + figures[l] + u"\n" + level.notes;
    kept.push_back(std::move(level));
  }
  // Each style goes to the first level kept that it sets.
  for (StyleUse& use : uses_) use.level = -1;
  for (size_t k = 0; k < kept.size(); ++k)
    for (uint32_t s : kept[k].styles)
      if (uses_[s].level < 0) uses_[s].level = static_cast<int32_t>(k);
  levels_ = std::move(kept);
  if (levels_.empty()) return;
  JudgeWhole(considered, out);
}

// Headings nest: a level whose headings mostly come right under a heading two levels or
// more above it (demonstration text, labels of a box) is no level of the document's
// hierarchy. Levels are judged from the most prominent down, against those already kept.
void LevelSuggester::DropLevelsThatDoNotNest(std::vector<std::u16string>& drop) const {
  const auto& lines = survey_.Lines();
  std::vector<int32_t> depth(levels_.size(), -1);
  int32_t kept = 0;
  for (size_t l = 0; l < levels_.size(); ++l) {
    if (!drop[l].empty()) continue;
    depth[l] = kept;
    uint32_t starts = 0, skips = 0;
    int32_t open = -1, last = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int32_t at = LevelOf(i);
      if (at < 0 || at > static_cast<int32_t>(l) || depth[static_cast<size_t>(at)] < 0) continue;
      const int32_t d = depth[static_cast<size_t>(at)];
      // A title over several lines is one heading.
      const bool continued =
          at == last && lines[i - 1].page == lines[i].page && LevelOf(i - 1) == at;
      last = at;
      if (continued) continue;
      if (at == static_cast<int32_t>(l) && open >= 0) {
        ++starts;
        skips += d > open + 1;
      }
      if (d == 0 || open >= 0) open = d;
    }
    if (kept > 0 && starts > 0 && skips * 2 > starts) {
      drop[l] = u"its headings do not come under those of the level above it";
      depth[l] = -1;
      continue;
    }
    ++kept;
  }
}

// A printed table of contents lists the levels the author meant for it: a level whose
// headings it does not list is left out when it lists those of two other levels, or of one
// level below it.
void LevelSuggester::DropUnlistedLevels(const std::vector<std::vector<size_t>>& members,
                                        std::vector<std::u16string>& drop) const {
  const auto& lines = survey_.Lines();
  std::u16string contents;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!running_[i] && !lines[i].runs.empty() &&
        pageKind_[static_cast<size_t>(lines[i].page)] == 1)
      contents += Letters(lines[i].text) + u"|";
  if (!contents.empty()) {
    std::vector<double> listed(levels_.size(), 0);
    // Contents that list one level only (the chapters) say nothing of the levels below it;
    // contents that list more show how deep the outline goes.
    size_t reach = 0, levelsListed = 0;
    for (size_t l = 0; l < levels_.size(); ++l) {
      if (!drop[l].empty() || members[l].empty()) continue;
      uint32_t found = 0;
      for (size_t i : members[l]) {
        const std::u16string key = Letters(lines[i].text);
        found += key.size() >= 3 && contents.find(key) != std::u16string::npos;
      }
      listed[l] = static_cast<double>(found) / static_cast<double>(members[l].size());
      if (listed[l] >= kListed) {
        reach = l + 1;
        ++levelsListed;
      }
    }
    if (levelsListed > 1) reach = levels_.size();
    for (size_t l = 0; l < reach; ++l)
      if (drop[l].empty() && listed[l] < kUnlisted)
        drop[l] = u"its headings are not in the printed table of contents";
  }
}

// The whole suggestion: the levels' confidence weighed by their lines, the bookmarks a page
// (the labels left out, as generation leaves them out), and what speaks against using it.
void LevelSuggester::JudgeWhole(const std::vector<bool>& considered, SuggestedOptions& out) {
  const auto& lines = survey_.Lines();
  double sum = 0;
  uint32_t heads = 0, bookmarks = 0;
  for (const Level& level : levels_) {
    sum += level.evidence.Confidence() * level.evidence.lines;
    heads += level.evidence.lines;
    bookmarks += level.evidence.lines - std::min(level.evidence.lines, level.labels);
  }
  std::set<int32_t> textPages;
  int32_t first = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!considered[i]) continue;
    if (first < 0 && uses_[lines[i].runs.front().first].level == 0) first = lines[i].page;
    if (first >= 0) textPages.insert(lines[i].page);
  }
  const double perPage =
      textPages.empty() ? 0
                        : static_cast<double>(bookmarks) / static_cast<double>(textPages.size());
  out.confidence = heads ? sum / heads : 0;
  // Generation puts untitled bookmarks above a heading that skips a level (a section before
  // the first chapter, "2.0.1" right under "2"): count them as it will make them.
  const uint32_t untitled = Untitled();
  if (untitled)
    out.warning = NumberText(untitled) +
                  u" heading(s) skip a level: generation puts an untitled "
                  u"bookmark above each";
  Note(u"Confidence: " + Percent(out.confidence) + u" (" + NumberText(bookmarks) +
       u" headings on " + NumberText(static_cast<uint32_t>(textPages.size())) +
       u" pages of text, " + Decimal(perPage) + u" a page)");
  if (untitled > kMostUntitled * heads)
    out.doubt = u"the levels do not nest: " + out.warning;
  else if (perPage > kMostPerPage)
    out.doubt = u"the levels would make " + Decimal(perPage) +
                u" bookmarks a page: their styles also set text that is no heading";
  else if (out.confidence < kSure)
    out.doubt = u"the lines found do not look like headings (confidence " +
                Percent(out.confidence) + u", " + NumberText(static_cast<uint32_t>(kSure * 100)) +
                u"% needed)";
}

uint32_t LevelSuggester::Untitled() const {
  const auto& lines = survey_.Lines();
  uint32_t untitled = 0;
  int32_t open = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int32_t l = LevelOf(i);
    if (l < 0 || (i > 0 && LevelOf(i - 1) == l && lines[i - 1].page == lines[i].page)) continue;
    const int32_t depth = l + 1;
    if (depth > open + 1) untitled += static_cast<uint32_t>(depth - open - 1);
    open = depth;
  }
  return untitled;
}

std::u16string LevelSuggester::LeadingTitle(const SurveyLine& line) const {
  // The generation ends a title where a run of another level's style begins ("CHAPTER" and
  // the chapter's big number on one line).
  const int32_t level = line.runs.empty() ? -1 : uses_[line.runs.front().first].level;
  uint32_t kept = 0;
  bool cut = false;
  for (const auto& [style, chars] : line.runs) {
    if (const int32_t other = uses_[style].level; other >= 0 && other != level) {
      cut = true;
      break;
    }
    kept += chars;
  }
  std::u16string_view text = line.text;
  if (cut) {
    size_t end = 0;
    for (uint32_t seen = 0; end < text.size() && seen < kept; ++end) seen += !IsBlank(text[end]);
    text = text.substr(0, end);
  }
  return CollapseBlanks(Trimmed(text));
}

bool LevelSuggester::IsLabel(const SurveyLine& line) const {
  return !labels_.empty() && line.length <= TypographySurvey::kKeptText &&
         labels_.count(LeadingTitle(line));
}

void LevelSuggester::FindRecurringLabels() {
  // Headings name what follows them and differ; a text that recurs in a heading style
  // without a number ("Functions", "Parameters", "Exports") is a label of a fixed layout.
  // Labels are no headings: the figures of the levels and the bookmarks a page leave them
  // out, as generation will.
  // Lines at one place on many pages count too ("CHAPTER" above each chapter's number): the
  // page scan left them out as running headers, but the generation reads every line.
  const auto& lines = survey_.Lines();
  std::map<std::u16string, uint32_t> seen;
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool running = RunningInHeadingStyle(i);
    if ((!running && LevelOf(i) < 0) || lines[i].length > TypographySurvey::kKeptText) continue;
    const std::u16string text = LeadingTitle(lines[i]);
    if (!text.empty() && NumberDepth(text) == 0) ++seen[text];
  }
  for (const auto& [text, count] : seen)
    if (count >= kRecurring) labels_.insert(text);
}

bool LevelSuggester::RunningInHeadingStyle(size_t i) const {
  const SurveyLine& line = survey_.Lines()[i];
  return running_[i] && !line.runs.empty() && pageKind_[static_cast<size_t>(line.page)] == 0 &&
         uses_[line.runs.front().first].level >= 0;
}

void LevelSuggester::SkipRecurringLabels(SuggestedOptions& out) {
  // Only the labels in the styles of the levels kept become stop words.
  const auto& lines = survey_.Lines();
  std::set<std::u16string> used;
  for (size_t i = 0; i < lines.size(); ++i)
    if (IsLabel(lines[i]) && (LevelOf(i, true) >= 0 || RunningInHeadingStyle(i)))
      used.insert(LeadingTitle(lines[i]));
  std::u16string examples;
  uint32_t labels = 0;
  for (const std::u16string& text : used) {
    std::u16string pattern = u"^";
    for (char16_t c : text) {
      if (std::u16string_view(u"\\^$.|?*+()[]{}").find(c) != std::u16string_view::npos)
        pattern.push_back(u'\\');
      pattern.push_back(c);
    }
    out.stopWords.push_back(pattern + u"$");
    if (++labels <= 3) examples += (examples.empty() ? u"\"" : u", \"") + text + u"\"";
  }
  if (labels) {
    out.flags |= kAgbStopWords;
    Note(u"Left out: " + NumberText(labels) + u" title(s) that recur in heading styles " +
         NumberText(kRecurring) + u" times or more, labels of a fixed layout, e.g. " + examples);
  }
}

void LevelSuggester::ChoosePages(SuggestedOptions& out) {
  const auto& lines = survey_.Lines();
  int32_t first = -1;
  // The front matter ends with the first heading of the top level.
  for (size_t i = 0; i < lines.size() && first < 0; ++i)
    if (Considered(i) && uses_[lines[i].runs.front().first].level == 0) first = lines[i].page;
  // An index page that opens with a heading of a level stays: the heading belongs to the
  // outline, and the entries match no level. So does a page of entries after the first
  // heading (a chapter that lists the classes or files of a reference manual): printed
  // contents come before it.
  std::vector<bool> headed(pageKind_.size(), false);
  for (size_t i = 0; i < lines.size(); ++i) {
    const SurveyLine& line = lines[i];
    const int8_t kind = pageKind_[static_cast<size_t>(line.page)];
    if (running_[i] || line.runs.empty() || kind == 0 || (kind == 1 && line.page <= first) ||
        uses_[line.runs.front().first].level < 0)
      continue;
    // The letters that head the groups of an index are no heading of the outline.
    const auto letters = std::count_if(line.text.begin(), line.text.end(), platform::IsAlpha);
    if (letters >= 2) headed[static_cast<size_t>(line.page)] = true;
  }
  std::vector<int32_t> pages;
  const int32_t last = static_cast<int32_t>(pageKind_.size()) - 1;
  const int32_t lastPage = std::max(last, survey_.PageCount() - 1);
  for (int32_t p = std::max(first, 0); p <= lastPage; ++p)
    if (p > last || pageKind_[static_cast<size_t>(p)] == 0 || headed[static_cast<size_t>(p)])
      pages.push_back(p);
  std::vector<int32_t> kept;
  for (size_t p = 0; p < headed.size(); ++p)
    if (headed[p]) kept.push_back(static_cast<int32_t>(p));
  if (!kept.empty())
    Note(u"Kept: pages " + RangeText(kept, -2) +
         u" of entries after the first heading, for the headings they hold");
  if (first > 0)
    Note(u"Left out: pages 1-" + NumberText(static_cast<uint32_t>(first)) +
         u", before the first heading");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!Considered(i) || lines[i].page < first) continue;
    const int32_t l = LevelOf(i);
    if (l < 0) continue;
    // The sample is a line the level takes, after the front matter.
    int64_t& sample = levels_[static_cast<size_t>(l)].sample;
    if (sample < 0 || lines[static_cast<size_t>(sample)].page < first ||
        LevelOf(static_cast<size_t>(sample)) != l)
      sample = static_cast<int64_t>(i);
  }
  if (static_cast<int32_t>(pages.size()) != lastPage + 1) out.pages = RangeText(pages, lastPage);
}

SuggestedOptions LevelSuggester::Suggest() {
  SuggestedOptions out;
  FindRunningLines();
  ClassifyPages();
  CountStyles();
  if (body_ < 0) {
    out.explanation =
        u"No headings found: the pages have no text (scanned pages need text "
        u"recognition first).\n";
    return out;
  }
  ChooseLevels();
  AddRunInLevel();
  if (levels_.empty()) {
    out.explanation = notes_ +
                      u"No headings found: no text style stands out from the body "
                      u"text on heading lines of two pages or more.\n";
    return out;
  }
  FindRecurringLabels();
  KeepNumberedOnly();
  SkipSingleCharacters();
  WeighLevels(out);
  if (levels_.empty()) {
    out.explanation = notes_ +
                      u"No headings found: no text style stands alone on short lines, apart "
                      u"from running text, often enough to be a level of headings.\n";
    return out;
  }
  // Among the levels kept: a style left out is text inside their titles.
  MarkSmallerRuns();
  SkipRecurringLabels(out);
  ChoosePages(out);
  for (size_t l = 0; l < levels_.size(); ++l) {
    Level& level = levels_[l];
    LevelOptions& o = level.options;
    o.index = static_cast<int32_t>(l) + 1;
    o.flags |= kLevelMatchSize | kLevelMatchFontNames;
    if (!level.runIn) o.flags |= kLevelMultiline;
    double low = 1e9, high = 0;
    uint32_t color = survey_.Styles()[level.styles.front()].color;
    bool oneColor = true;
    std::u16string fonts;
    for (uint32_t s : level.styles) {
      const SurveyStyle& style = survey_.Styles()[s];
      low = std::min(low, style.Size());
      high = std::max(high, style.Size());
      oneColor = oneColor && style.color == color;
      const std::u16string name = FontName(s);
      if (!ContainsFontName(o.description.fontNames, name)) {
        o.description.fontNames.push_back(name);
        SortFontNames(o.description.fontNames);
        fonts += (fonts.empty() ? u"" : u", ") + name;
      }
    }
    o.description.fontSize = std::round((low + high) * 50) / 100;
    // Sizes come rounded to tenths; the rest covers the rounding and the spread of the styles.
    o.description.fontTolerance = std::round((high - low) * 50 + 15) / 100;
    const bool bodyColor = color == survey_.Styles()[static_cast<size_t>(body_)].color;
    if (oneColor && (!bodyColor || ColourTellsApart(l))) o.flags |= kLevelMatchColor;
    o.description.color = color;
    std::u16string text = u"Level " + NumberText(static_cast<uint32_t>(o.index)) + u": " + fonts +
                          u" " + SizeText(o.description.fontSize);
    if (o.Uses(kLevelMatchColor)) text += u" " + ColorText(color);
    if (level.ownLines)
      text +=
          u", lines in bold body text that start with a section number one part deeper "
          u"than the levels above";
    else if (level.runIn)
      text += u", run-in headings in bold body text that start with a section number";
    if (o.Uses(kLevelMatchPattern)) text += u", pattern " + o.description.textPattern;
    // A line without a letter in a heading style (a rule, a symbol, a chapter's big number
    // set apart from its title) makes no title.
    if (!o.Uses(kLevelMatchPattern)) {
      o.flags |= kLevelMatchPattern;
      o.description.textPattern = u"[^\\W\\d_]";
    }
    text += u", " + NumberText(level.lines) + u" lines";
    if (level.sample >= 0)
      text += u", e.g. " + Sample(survey_.Lines()[static_cast<size_t>(level.sample)]);
    Note(text);
    notes_ += level.notes;
    out.levels.push_back(o);
  }
  out.flags |= kAgbIgnoreDuplicates;
  if (!out.warning.empty()) Note(u"Warning: " + out.warning);
  if (!out.doubt.empty()) Note(u"Not sure: " + out.doubt);
  out.explanation = notes_;
  return out;
}

}  // namespace bm
