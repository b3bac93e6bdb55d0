#include "autogen/typography_survey.h"

#include <algorithm>
#include <cmath>

#include "autogen/title_formatter.h"

namespace bm {

uint32_t TypographySurvey::StyleOf(const zelta::PageTextChar& ch) {
  const Key key{ch.fontId, static_cast<int32_t>(std::lround(ch.size * 10)), ch.color};
  auto [at, added] = styleIndex_.try_emplace(key, static_cast<uint32_t>(styles_.size()));
  if (added) styles_.push_back({key.fontId, key.size10, key.color});
  return at->second;
}

void TypographySurvey::AddPage(int32_t page, const zelta::PageTextChar* chars, int32_t count) {
  ++pages_;
  if (!chars) return;
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
}

}  // namespace bm
