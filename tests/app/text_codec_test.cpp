#include <gtest/gtest.h>

#include "zelta/app/text_codec.h"

namespace zelta::app {
namespace {

TEST(TextCodec, RoundTripsEveryPlane) {
  std::u16string text = u"A\u00E9\u20AC\U0001F600z";
  EXPECT_EQ(LossyUtf8(text), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(LossyUtf16(LossyUtf8(text)), text);
}

TEST(TextCodec, BrokenInputBecomesReplacementCharactersWithoutLosingTheRest) {
  // Stray continuation, truncated sequence before ASCII, overlong '/', encoded surrogate,
  // past U+10FFFF, truncated at the end.
  EXPECT_EQ(LossyUtf16("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(LossyUtf16("a\xE2\x82z"), u"a\uFFFDz");
  EXPECT_EQ(LossyUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(LossyUtf16("\xED\xA0\x80!"), u"\uFFFD!");
  EXPECT_EQ(LossyUtf16("\xF4\x90\x80\x80"), u"\uFFFD");
  EXPECT_EQ(LossyUtf16("x\xF0\x9F"), u"x\uFFFD");
  EXPECT_EQ(LossyUtf8(u"a\xD800z\xDC00"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
}

TEST(TextCodec, GuidTextIsUpperCaseWithoutBraces) {
  Guid id{0x5e3a91d0, 0x6c42, 0x4b8e, {0xa1, 0xf7, 0x2d, 0x9c, 0x04, 0xb6, 0xe8, 0x13}};
  EXPECT_EQ(GuidText(id), "5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813");
}

}  // namespace
}  // namespace zelta::app
