// Finding a text in a page's characters: case, blanks against line breaks, and hit boxes.
#include "zelta/app/selection/text_search.h"

#include <gtest/gtest.h>

#include "host/search.h"

namespace zelta::app {
namespace {

// One character per code, 10 points wide; '|' ends a line (it is not a character).
std::vector<PageTextChar> Page(std::u16string_view text) {
  std::vector<PageTextChar> chars;
  double x = 0, y = 700;
  for (char16_t c : text) {
    if (c == u'|') {
      chars.back().flags |= kCharLineEnd;
      x = 0, y -= 20;
      continue;
    }
    chars.push_back({x, y, x + 10, y + 12, 0, 0, 1, 0, 10, c, 0});
    x += 10;
  }
  return chars;
}

TEST(TextSearchTest, MatchesByTheFlagsAndBoxesTheHits) {
  const auto chars = Page(u"2.1 Vectors and|assignment|Vectors and assignment");
  const int32_t loose = kSearchIgnoreCase | kSearchLooseBlanks;
  struct Case {
    std::u16string_view text;
    int32_t flags;
    size_t hits;
  } cases[] = {{u"vectors and assignment", loose, 2},
               {u"  Vectors   and assignment ", kSearchLooseBlanks, 2},
               {u"vectors and assignment", kSearchLooseBlanks, 0},
               {u"Vectors and assignment", 0, 1},
               {u"assignmentVectors", 0, 1},
               {u"missing", loose, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(TextSearch(c.text, c.flags).Find(chars.data(), int32_t(chars.size())).size(), c.hits)
        << std::string(c.text.begin(), c.text.end());
  // A hit over a line break covers both lines.
  const auto hits = TextSearch(u"and assignment", loose).Find(chars.data(), int32_t(chars.size()));
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_DOUBLE_EQ(hits[0].top, 712);
  EXPECT_DOUBLE_EQ(hits[0].bottom, 680);
  EXPECT_DOUBLE_EQ(hits[0].left, 0);
  EXPECT_TRUE(TextSearch(u"   ", loose).Empty());
}

}  // namespace
}  // namespace zelta::app
