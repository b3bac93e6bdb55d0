// The order right-to-left text is seen in, for a writer that places glyphs left to right.
#include "platform/bidi_text.h"

#include <gtest/gtest.h>

namespace bm::platform {
namespace {

TEST(BidiText, RightToLeftRunsComeInTheOrderTheyAreSeen) {
  // Hebrew "shalom": its letters reversed, the paragraph right to left.
  VisualText text = VisualOrder(u"\u05E9\u05DC\u05D5\u05DD");
  EXPECT_EQ(text.text, u"\u05DD\u05D5\u05DC\u05E9");
  EXPECT_TRUE(text.rightToLeft);
  // Latin text before Arabic: a left-to-right paragraph whose Arabic word is turned, digits
  // inside a right-to-left paragraph keep their own order, brackets are mirrored.
  text = VisualOrder(u"Part \u0645\u0642\u062F");
  EXPECT_EQ(text.text, u"Part \u062F\u0642\u0645");
  EXPECT_FALSE(text.rightToLeft);
  text = VisualOrder(u"\u0641\u0635\u0644 12 (\u0623)");
  EXPECT_EQ(text.text, u"(\u0623) 12 \u0644\u0635\u0641");
  EXPECT_TRUE(text.rightToLeft);
  // Text without right-to-left letters is left alone.
  EXPECT_EQ(VisualOrder(u"Chapter 1 (intro)").text, u"Chapter 1 (intro)");
  EXPECT_EQ(VisualOrder(u"").text, u"");
}

}  // namespace
}  // namespace bm::platform
