#include "autogen/typography_survey.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "autogen/title_formatter.h"

namespace bm {

namespace {

// "7", "3.2.1", "A.4", "12.": a section number with nothing else.
bool IsNumberOnly(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  if (text.size() >= 2 && text[0] >= u'A' && text[0] <= u'Z' && text[1] == u'.')
    text.remove_prefix(2);
  if (text.empty() || text.size() > 16 || text.front() < u'0' || text.front() > u'9') return false;
  for (char16_t c : text)
    if (c != u'.' && (c < u'0' || c > u'9')) return false;
  return text.find(u"..") == std::u16string_view::npos;
}

}  // namespace

void TypographySurvey::JoinNumbers(size_t from) {
  // A section number set apart from its title by a wide space is read as a line of its own;
  // on the page they are one line: the same height, the same size, the title a few letters to
  // the right of the number.
  size_t out = from;
  for (size_t i = from; i < lines_.size(); ++i) {
    if (out != i) lines_[out] = std::move(lines_[i]);
    SurveyLine& number = lines_[out++];
    if (i + 1 >= lines_.size() || number.runs.empty() || !IsNumberOnly(number.text)) continue;
    const SurveyLine& title = lines_[i + 1];
    if (title.runs.empty() || title.length > kKeptText) continue;
    const double size = styles_[number.runs.front().first].Size();
    const double titleSize = styles_[title.runs.front().first].Size();
    const double gap = title.left - number.right;
    if (std::abs(size - titleSize) > 0.25 || std::abs(number.top - title.top) > 0.25 * size ||
        gap < 0 || gap > 4 * size)
      continue;
    number.text += u' ';
    number.text += title.text;
    if (number.text.size() > kKeptText) number.text.resize(kKeptText);
    number.length += 1 + title.length;
    number.right = title.right;
    for (const auto& run : title.runs)
      if (number.runs.back().first == run.first)
        number.runs.back().second += run.second;
      else
        number.runs.push_back(run);
    ++i;
  }
  lines_.resize(out);
}

uint32_t TypographySurvey::StyleOf(const zelta::PageTextChar& ch) {
  const Key key{ch.fontId, static_cast<int32_t>(std::lround(ch.size * 10)), ch.color};
  auto [at, added] = styleIndex_.try_emplace(key, static_cast<uint32_t>(styles_.size()));
  if (added) styles_.push_back({key.fontId, key.size10, key.color});
  return at->second;
}

void TypographySurvey::AddPage(int32_t page, const zelta::PageTextChar* chars, int32_t count) {
  ++pages_;
  if (!chars) return;
  const size_t first = lines_.size();
  SurveyLine* line = nullptr;
  uint32_t style = 0;
  for (int32_t i = 0; i < count; ++i) {
    const zelta::PageTextChar& ch = chars[i];
    if (!line || ch.line != chars[i - 1].line) {
      line = &lines_.emplace_back();
      line->page = page;
      line->top = static_cast<float>(ch.top);
      line->left = static_cast<float>(ch.left);
      style = StyleOf(ch);
    } else if (ch.flags & zelta::kCharRunStart) {
      style = StyleOf(ch);
    }
    const float width = static_cast<float>(ch.right - ch.left);
    if (ch.code == u'i' || ch.code == u'l')
      styles_[style].narrow = std::max(styles_[style].narrow, width);
    else if (ch.code == u'm' || ch.code == u'w')
      styles_[style].wide = std::min(styles_[style].wide, width);
    ++line->length;
    line->right = std::max(line->right, static_cast<float>(ch.right));
    if (line->text.size() < kKeptText) line->text.push_back(ch.code);
    if (IsBlank(ch.code)) continue;
    if (line->runs.empty() || line->runs.back().first != style)
      line->runs.emplace_back(style, 1);
    else
      ++line->runs.back().second;
  }
  JoinNumbers(first);
}

}  // namespace bm
