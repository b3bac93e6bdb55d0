#include "autogen/heading_evidence.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "autogen/title_formatter.h"
#include "platform/locale_text.h"

namespace bm {

namespace {

// A title is at most this long; longer lines are sentences.
constexpr uint32_t kBriefLength = 90;
// Headings of one level on a page where the level occurs, at most, on average.
constexpr double kDensest = 3.0;
// The most lines one title runs over.
constexpr size_t kTitleLines = 3;
// Space above a heading: this much more than the lines of a paragraph have.
constexpr double kMoreSpace = 1.15;
// Left edges this close are one edge; a centre this close to the text's centre is centred.
constexpr float kSameEdge = 2.5f;
constexpr double kCentreShare = 0.03;
// Lines whose tops are this close (points) stand on one row.
constexpr float kSameRow = 2.0f;

bool StartsWithNumber(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  size_t i = 0;
  while (i < text.size() && ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'.')) ++i;
  if (i == 0 && !text.empty() && text[0] >= u'A' && text[0] <= u'Z' && text.size() > 1 &&
      text[1] == u'.')
    return true;
  return i > 0 && text[0] != u'.' && (i == text.size() || IsBlank(text[i]));
}

}  // namespace

double LevelEvidence::Confidence() const {
  if (lines == 0) return 0;
  if (runIn) return 0.5 * numbered + 0.3 * aligned + 0.2 * (1 - inParagraphs);
  // Space above is what sets a heading apart; without it the rest tells little.
  const double apart = std::pow(std::min(1.0, alone / 0.8), 2);
  // Headings are a few on a page where they occur, never a list of them.
  const double sparse = pages ? std::min(1.0, kDensest * pages / lines) : 0;
  return apart * sparse * (0.4 * (1 - inParagraphs) + 0.3 * brief + 0.3 * aligned);
}

HeadingEvidence::HeadingEvidence(const TypographySurvey& survey,
                                 const std::vector<bool>& considered, uint32_t body)
    : survey_(survey), considered_(considered), body_(body) {
  const auto& lines = survey.Lines();
  bodySize_ = survey.Styles()[body].Size();
  // The most common distance between two lines of running text that follow each other.
  std::map<int, uint32_t> gaps;
  int32_t last = -1;
  for (const SurveyLine& line : lines) last = std::max(last, line.page);
  edges_.assign(static_cast<size_t>(last + 1), {1e9f, -1e9f});
  for (size_t i = 0; i < lines.size(); ++i) {
    const SurveyLine& line = lines[i];
    if (!considered[i] || line.FirstStyle() != static_cast<int64_t>(body)) continue;
    auto& [left, right] = edges_[static_cast<size_t>(line.page)];
    left = std::min(left, line.left);
    right = std::max(right, line.right);
    if (i == 0 || !considered[i - 1] || lines[i - 1].page != line.page ||
        lines[i - 1].FirstStyle() != static_cast<int64_t>(body))
      continue;
    const double gap = lines[i - 1].top - line.top;
    if (gap > 0 && gap < 3 * bodySize_) ++gaps[static_cast<int>(std::lround(gap * 2))];
  }
  uint32_t most = 0;
  for (const auto& [gap, count] : gaps)
    if (count > most) {
      most = count;
      pitch_ = gap / 2.0;
    }
}

bool HeadingEvidence::SpaceAbove(size_t i) const {
  const auto& lines = survey_.Lines();
  const SurveyLine& line = lines[i];
  size_t j = i;
  while (j > 0 && lines[j - 1].page == line.page && lines[j - 1].runs.empty()) --j;
  // The first line of a page (below its running header) or of a column stands alone.
  if (j == 0 || lines[j - 1].page != line.page || !considered_[j - 1]) return true;
  const double gap = lines[j - 1].top - line.top;
  if (gap <= 0 || pitch_ <= 0) return true;
  // Measured from the tops of the lines: a larger line after a smaller one gains its extra
  // height back from the top of its letters, so the paragraph's pitch is what it would have.
  return gap >= kMoreSpace * pitch_ && gap >= pitch_ + 0.2 * bodySize_;
}

bool HeadingEvidence::Centred(const SurveyLine& line) const {
  const auto& [left, right] = edges_[static_cast<size_t>(line.page)];
  if (right <= left || line.right <= line.left) return false;
  const double width = right - left;
  // A line across the whole text width is not centred, only long.
  if (line.right - line.left > 0.9 * width) return false;
  return std::abs((line.left + line.right) / 2 - (left + right) / 2) <= kCentreShare * width;
}

LevelEvidence HeadingEvidence::Weigh(const std::vector<size_t>& indexes, double inParagraphs,
                                     bool runIn) const {
  LevelEvidence out;
  out.inParagraphs = inParagraphs;
  out.runIn = runIn;
  const auto& lines = survey_.Lines();
  // A title may run over a few lines: those count once. A longer block of lines in the
  // style (a listing, a table) counts line by line.
  std::vector<size_t> heads;
  for (size_t k = 0; k < indexes.size();) {
    size_t end = k + 1;
    while (end < indexes.size() && indexes[end] == indexes[end - 1] + 1 &&
           lines[indexes[end]].page == lines[indexes[k]].page)
      ++end;
    if (end - k <= kTitleLines)
      heads.push_back(indexes[k]);
    else
      heads.insert(heads.end(), indexes.begin() + static_cast<ptrdiff_t>(k),
                   indexes.begin() + static_cast<ptrdiff_t>(end));
    k = end;
  }
  if (heads.empty()) return out;
  std::map<int, uint32_t> lefts;
  for (size_t i : heads) ++lefts[static_cast<int>(std::lround(lines[i].left))];
  // The two most used left edges: odd and even pages may have their own margins.
  std::vector<std::pair<uint32_t, int>> byUse;
  for (const auto& [left, count] : lefts) byUse.emplace_back(count, left);
  std::sort(byUse.rbegin(), byUse.rend());
  // A heading has its row to itself: lines of one style side by side are the labels of a
  // figure or the cells of a table. (A section number read apart from its title has no
  // letters and shares the row.)
  auto hasLetters = [](const SurveyLine& line) {
    return std::any_of(line.text.begin(), line.text.end(), platform::IsAlpha);
  };
  std::map<std::pair<int32_t, int>, uint32_t> rows;
  auto rowOf = [&](const SurveyLine& line) {
    return std::make_pair(line.page, static_cast<int>(std::lround(line.top / kSameRow)));
  };
  for (size_t i : indexes)
    if (hasLetters(lines[i])) ++rows[rowOf(lines[i])];
  uint32_t alone = 0, brief = 0, aligned = 0, numbered = 0;
  int32_t lastPage = -1;
  for (size_t i : heads) {
    const SurveyLine& line = lines[i];
    const auto row = rows.find(rowOf(line));
    alone += SpaceAbove(i) && (row == rows.end() || row->second < 2);
    brief += line.length <= kBriefLength;
    numbered += StartsWithNumber(line.text);
    bool edge = false;
    for (size_t e = 0; e < std::min<size_t>(2, byUse.size()) && !edge; ++e)
      edge = std::abs(line.left - static_cast<float>(byUse[e].second)) <= kSameEdge;
    aligned += edge || Centred(line);
    if (line.page != lastPage) ++out.pages;
    lastPage = line.page;
  }
  const double n = static_cast<double>(heads.size());
  out.lines = static_cast<uint32_t>(heads.size());
  out.alone = alone / n;
  out.brief = brief / n;
  out.aligned = aligned / n;
  out.numbered = numbered / n;
  return out;
}

}  // namespace bm
