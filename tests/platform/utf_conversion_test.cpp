#include <gtest/gtest.h>

#include <string>

#include "platform/locale_text.h"
#include "platform/resources.h"

namespace bm::platform {
namespace {

TEST(Utf8ToUtf16, ValidTextOfEveryLength) {
  EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"Aé中\U0001F600");
  EXPECT_EQ(Utf8ToUtf16(""), u"");
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8ToUtf16, InvalidSequencesBecomeReplacementCharacters) {
  // Overlong encoding: neither byte can start or continue a valid sequence.
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  // A truncated sequence is one replacement, and the next character survives.
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"
                        "A"),
            u"\uFFFDA");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD");
  // Encoded surrogates and code points above U+10FFFF are refused byte by byte.
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xFF"
                        "x\x80"),
            u"\uFFFDx\uFFFD");
}

TEST(Utf16ToUtf8, RoundTripAndLoneSurrogates) {
  std::u16string text = u"Ñandú 中文 \U0001F600 end";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

TEST(Resources, TextIsWidenedWithoutByteOrderMark) {
  auto bytes = ReadResourceBytes("XML", 102);
  ASSERT_TRUE(bytes);
  ASSERT_GE(bytes->size(), 3u);
  EXPECT_EQ((*bytes)[0], 0xEF);
  auto text = ReadResourceText("XML", 102);
  ASSERT_TRUE(text);
  EXPECT_TRUE(text->starts_with(u"<?xml")) << "byte-order mark not stripped";
  EXPECT_NE(text->find(u"Localization"), std::u16string::npos);
}

TEST(Resources, MissingResourceIsReported) {
  EXPECT_FALSE(ReadResourceBytes("XML", 999));
  EXPECT_FALSE(ReadResourceText("PNG", 102));
  EXPECT_EQ(WidenUtf8Text("\xEF\xBB\xBFok"), u"ok");
  EXPECT_EQ(WidenUtf8Text("\xEF\xBB"), u"\uFFFD");
}

}  // namespace
}  // namespace bm::platform
