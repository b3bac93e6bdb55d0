#include "tools/title/change_case.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/locale_text.h"

namespace bm {
namespace {

std::u16string Convert(std::u16string title, int32_t flags,
                       std::vector<std::u16string> excluded = {}) {
  ChangeCaseEngine engine(std::move(excluded), flags);
  EXPECT_EQ(engine.Apply(title), zelta::S_OK);
  return title;
}

TEST(ChangeCaseEngine, FourModesOnPlainWords) {
  EXPECT_EQ(Convert(u"the lord of the rings", kTitleCase), u"The Lord Of The Rings");
  EXPECT_EQ(Convert(u"tHE lORD", kTitleCase), u"The Lord");
  EXPECT_EQ(Convert(u"the Lord", kUpperCase), u"THE LORD");
  EXPECT_EQ(Convert(u"The LORD", kLowerCase), u"the lord");
  EXPECT_EQ(Convert(u"hello. WORLD", kSentenceCase), u"Hello. world");
  // The bits above the mode do not change it.
  EXPECT_EQ(Convert(u"abc", kUpperCase | 0x100 | 0x200 | 0x1000), u"ABC");
}

TEST(ChangeCaseEngine, ExcludedWordsKeepTheTitlesOwnLetters) {
  const int32_t flags = kTitleCase | kApplyExcludedWords;
  EXPECT_EQ(Convert(u"the lord of the rings", flags, {u"of", u"the"}), u"the Lord of the Rings");
  EXPECT_EQ(Convert(u"THE LORD OF THE RINGS", flags, {u"of", u"the"}), u"THE Lord OF THE Rings");
  // Whole words only, case ignored.
  EXPECT_EQ(Convert(u"PDF and PDFs", flags, {u"pdf"}), u"PDF And Pdfs");
  EXPECT_EQ(Convert(u"DON'T stop", kLowerCase | kApplyExcludedWords, {u"don't"}), u"DON'T stop");
  // An excluded first word takes no capital in sentence case, and nothing else does.
  EXPECT_EQ(Convert(u"iPhone TIPS AND tricks", kSentenceCase | kApplyExcludedWords, {u"iphone"}),
            u"iPhone tips and tricks");
  // Without the flag the list is not used.
  EXPECT_EQ(Convert(u"the end", kTitleCase, {u"the"}), u"The End");
}

TEST(ChangeCaseEngine, ApostrophesDigitsAndPunctuation) {
  EXPECT_EQ(Convert(u"1st chapter", kTitleCase), u"1St Chapter");
  EXPECT_EQ(Convert(u"o'neil", kTitleCase), u"O'neil");
  EXPECT_EQ(Convert(u"'tis", kTitleCase), u"'Tis");
  EXPECT_EQ(Convert(u"ROCK'N'ROLL students'", kTitleCase), u"Rock'n'roll Students'");
  // Other quote marks separate words.
  EXPECT_EQ(Convert(u"\u2018quoted\u2019 word", kTitleCase), u"\u2018Quoted\u2019 Word");
  EXPECT_EQ(Convert(u"1.2.3 - (a)", kUpperCase), u"1.2.3 - (A)");
  EXPECT_EQ(Convert(u"", kUpperCase), u"");
}

// ASCII letters and their cases are told without the character tables; they must agree with
// them for every character, inside a word and between two.
TEST(ChangeCaseEngine, AsciiAgreesWithTheCharacterTables) {
  for (char16_t c = 1; c < 0x80; ++c) {
    std::u16string upper(1, c), lower(1, c);
    platform::UpperCaseInPlace(upper.data(), 1);
    platform::LowerCaseInPlace(lower.data(), 1);
    const bool inWord = platform::IsAlpha(c) || c == u'\'';
    const std::u16string title = u"a" + std::u16string(1, c) + u"b";
    EXPECT_EQ(Convert(title, kUpperCase), u"A" + upper + u"B") << int(c);
    EXPECT_EQ(Convert(title, kLowerCase), u"a" + lower + u"b") << int(c);
    EXPECT_EQ(Convert(title, kTitleCase), inWord ? u"A" + lower + u"b" : u"A" + lower + u"B")
        << int(c);
  }
  // A word with a letter beyond ASCII maps through the tables as a whole.
  EXPECT_EQ(Convert(u"caf\u00e9 CR\u00c8ME", kTitleCase), u"Caf\u00e9 Cr\u00e8me");
}

TEST(ChangeCaseEngine, NonLatinLetters) {
  EXPECT_EQ(Convert(u"\u00e9t\u00e9 \u00e0 paris", kTitleCase), u"\u00c9t\u00e9 \u00c0 Paris");
  EXPECT_EQ(Convert(u"\u043c\u0438\u0440 \u0432\u0430\u043c", kUpperCase),
            u"\u041c\u0418\u0420 \u0412\u0410\u041c");
  EXPECT_EQ(Convert(u"\u03b1\u03b2\u03b3 \u0394\u0395", kSentenceCase),
            u"\u0391\u03b2\u03b3 \u03b4\u03b5");
}

TEST(ChangeCaseEngine, SurrogatePairsStayWholeAndCaseMap) {
  // Deseret letters live outside the basic plane and have case.
  const std::u16string lower = u"\U00010428\U00010429 x";
  const std::u16string title = u"\U00010400\U00010429 X";
  EXPECT_EQ(Convert(lower, kTitleCase), title);
  EXPECT_EQ(Convert(u"\U00010400\U00010401", kLowerCase), u"\U00010428\U00010429");
  // A letter-less symbol outside the basic plane separates words and stays.
  EXPECT_EQ(Convert(u"a\U0001F600b", kUpperCase), u"A\U0001F600B");
  // A lone surrogate is not damaged.
  std::u16string broken = u"ab";
  broken.insert(broken.begin() + 1, char16_t(0xD800));
  std::u16string expected = u"AB";
  expected.insert(expected.begin() + 1, char16_t(0xD800));
  EXPECT_EQ(Convert(broken, kUpperCase), expected);
}

TEST(ChangeCaseEngine, InvalidModeFailsAndLeavesTheTitle) {
  for (int32_t mode : {3, 5, 8, 15}) {
    ChangeCaseEngine engine({}, mode);
    std::u16string title = u"Mixed Case title";
    EXPECT_EQ(engine.Apply(title), zelta::E_FAIL) << mode;
    EXPECT_EQ(title, u"Mixed Case title");
  }
  // Without any word there is nothing to fail on.
  std::u16string digits = u"1.2";
  EXPECT_EQ(ChangeCaseEngine({}, 3).Apply(digits), zelta::S_OK);
}

// Titles of real manuals: names with their own capitals, digits or dots stay as written.
TEST(ChangeCaseEngine, KeepCapitalsLeavesAcronymsCodeAndVersions) {
  const int32_t title = kTitleCase | kKeepCapitals;
  EXPECT_EQ(Convert(u"the NULL object and NA values", title), u"The NULL Object And NA Values");
  EXPECT_EQ(Convert(u"dispatch with UseMethod() and on.exit", title),
            u"Dispatch With UseMethod() And on.exit");
  EXPECT_EQ(Convert(u"LTO with GCC on macOS", title), u"LTO With GCC On macOS");
  EXPECT_EQ(Convert(u"building x86_64 binaries for v1.2", title),
            u"Building x86_64 Binaries For v1.2");
  // A capital only at the start, a full stop at the end, an apostrophe: an ordinary word. A
  // word in capitals throughout reads as an acronym and stays.
  EXPECT_EQ(Convert(u"what's new. notes", title), u"What's New. Notes");
  EXPECT_EQ(Convert(u"WHAT'S new", title), u"WHAT'S New");
  EXPECT_EQ(Convert(u"A Guide (the R's way)", title), u"A Guide (The R's Way)");
  EXPECT_EQ(Convert(u"(I/O), \"GCC\" and 1st", title), u"(I/O), \"GCC\" And 1st");
  // Without the bit everything after the first letter is lowered, as before.
  EXPECT_EQ(Convert(u"LTO with GCC on macOS", kTitleCase), u"Lto With Gcc On Macos");
  // Sentence case keeps them too, and a kept first word takes the capital's place.
  EXPECT_EQ(Convert(u"the NULL Object", kSentenceCase | kKeepCapitals), u"The NULL object");
  EXPECT_EQ(Convert(u"macOS Notes", kSentenceCase | kKeepCapitals), u"macOS notes");
  // UPPERCASE and lowercase are asked for outright: every word changes.
  EXPECT_EQ(Convert(u"macOS", kUpperCase | kKeepCapitals), u"MACOS");
  EXPECT_EQ(Convert(u"NULL", kLowerCase | kKeepCapitals), u"null");
}

TEST(SortExcludedWords, SortsAndDropsCaseInsensitiveDuplicates) {
  auto words = SortExcludedWords({u"the", u"Of", u"THE", u"and", u"of"});
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0], u"and");
  EXPECT_EQ(words[1], u"Of");
  EXPECT_EQ(words[2], u"the");
  ChangeCaseEngine engine(words, kApplyExcludedWords);
  EXPECT_TRUE(engine.IsExcluded(u"AND"));
  EXPECT_TRUE(engine.IsExcluded(u"oF"));
  EXPECT_FALSE(engine.IsExcluded(u"an"));
  EXPECT_FALSE(engine.IsExcluded(u"them"));
}

TEST(ChangeCaseEngine, LongTitle) {
  std::u16string title;
  for (int i = 0; i < 20000; ++i) title += u"word ";
  ChangeCaseEngine engine({}, kUpperCase);
  ASSERT_EQ(engine.Apply(title), zelta::S_OK);
  EXPECT_EQ(title.substr(0, 10), u"WORD WORD ");
  EXPECT_EQ(title.size(), 100000u);
}

}  // namespace
}  // namespace bm
