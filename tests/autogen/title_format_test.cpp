// Title formatting: numbers in every style, the order of the steps, and what drops a title.
#include <gtest/gtest.h>

#include "autogen/number_style.h"
#include "autogen/title_formatter.h"

namespace bm {
namespace {

TEST(NumberStyle, LettersAreBijectiveBase26) {
  EXPECT_EQ(LetterNumber(1), u"a");
  EXPECT_EQ(LetterNumber(26), u"z");
  EXPECT_EQ(LetterNumber(27), u"aa");
  EXPECT_EQ(LetterNumber(28), u"ab");
  EXPECT_EQ(LetterNumber(702), u"zz");
  EXPECT_EQ(LetterNumber(703), u"aaa");
}

TEST(NumberStyle, RomanAndDecimal) {
  EXPECT_EQ(RomanNumber(1994), u"MCMXCIV");
  EXPECT_EQ(RomanNumber(4000), u"MMMM");
  EXPECT_EQ(RomanNumber(49), u"XLIX");
  EXPECT_EQ(DecimalNumber(1207), u"1207");
  EXPECT_EQ(FormatNumber(3, 99), u"3");  // unknown styles number in decimals
}

LevelOptions Level(int32_t index, TitleFormat format) {
  LevelOptions level;
  level.index = index;
  level.format = std::move(format);
  return level;
}

std::u16string Format(LevelChain& chain, size_t position, std::u16string title,
                      zelta::HRESULT expect = zelta::S_OK) {
  EXPECT_EQ(FormatTitle(chain, position, title), expect);
  return title;
}

TitleFormat Replace(std::u16string search, std::u16string replace = u"") {
  TitleFormat f;
  f.flags = kFormatReplace;
  f.searchPattern = std::move(search);
  f.replacePattern = std::move(replace);
  return f;
}

TitleFormat Framed(int32_t length) {
  TitleFormat f;
  f.prefix = u"[";
  f.suffix = u"]";
  f.titleLength = length;
  return f;
}

// One level formatted alone; S_FALSE drops the title.
TEST(TitleFormat, OneLevelSteps) {
  TitleFormat collapse, titleCase;
  collapse.flags = kFormatCollapseBlanks;
  titleCase.textCase = kCaseTitle;
  const struct {
    TitleFormat format;
    std::u16string title, expected;
    zelta::HRESULT result;
  } cases[] = {
      {Replace(u"\\s+-\\s+\\d+$"), u"Introduction - 12", u"Introduction", zelta::S_OK},
      {Replace(u"\\s+-\\s+\\d+$", u" [$&]"), u"Scope - 3", u"Scope [ - 3]",
       zelta::S_OK},  // $& and groups are read
      {collapse, u"", u"", zelta::S_FALSE},
      {titleCase, u"the END of it", u"The END Of It", zelta::S_OK},  // title case only raises
      {Framed(5), u"Chapter", u"[Chap", zelta::S_OK},
      {Framed(0), u"Chapter", u"", zelta::S_FALSE},
  };
  for (const auto& c : cases) {
    LevelChain chain({Level(1, c.format)});
    ASSERT_EQ(chain.Prepare(), zelta::S_OK);
    std::u16string title = c.title;
    EXPECT_EQ(FormatTitle(chain, 1, title), c.result) << "case " << (&c - cases);
    if (c.result == zelta::S_OK) {
      EXPECT_EQ(title, c.expected);
    }
  }
  EXPECT_EQ(CollapseBlanks(u"Part\tOne  (old)"), u"Part One (old)");
  EXPECT_EQ(CollapseBlanks(u"\r\n a \n"), u" a ");  // without trimming
}

TEST(TitleFormat, RemovesLeadingNumbersButKeepsQuotes) {
  EXPECT_EQ(RemoveLeadingNumbers(u"1.2 Scope"), u"Scope");
  EXPECT_EQ(RemoveLeadingNumbers(u"(a) Notes"), u"a) Notes");
  EXPECT_EQ(RemoveLeadingNumbers(u"\"Quoted\""), u"\"Quoted\"");
  EXPECT_EQ(RemoveLeadingNumbers(u"12.3"), u"");
}

// Decimal numbers on levels 1 and 2, letters on level 3.
LevelChain NumberedChain(int32_t textCase = kCaseKeep) {
  TitleFormat decimal;
  decimal.leadingNum = kLeadingAdd;
  TitleFormat letters = decimal;
  letters.numType = kNumLetters;
  letters.textCase = textCase;
  LevelChain chain({Level(1, decimal), Level(2, decimal), Level(3, letters)});
  EXPECT_EQ(chain.Prepare(), zelta::S_OK);
  return chain;
}

TEST(TitleFormat, HierarchicalNumbersRestartUnderEachHeading) {
  LevelChain chain = NumberedChain();
  EXPECT_EQ(Format(chain, 1, u"One"), u"1. One");
  EXPECT_EQ(Format(chain, 2, u"A"), u"1.1. A");
  EXPECT_EQ(Format(chain, 2, u"B"), u"1.2. B");
  EXPECT_EQ(Format(chain, 3, u"Title"), u"1.2.a. Title");
  EXPECT_EQ(Format(chain, 3, u"Next"), u"1.2.b. Next");
  EXPECT_EQ(Format(chain, 1, u"Two"), u"2. Two");
  // A level that never had a title of its own shows as 1.
  EXPECT_EQ(Format(chain, 3, u"Deep"), u"2.1.a. Deep");
}

TEST(TitleFormat, CaseAfterNumbers) {
  LevelChain upper = NumberedChain(kCaseUpper);
  Format(upper, 1, u"x");
  EXPECT_EQ(Format(upper, 3, u"title"), u"1.1.A. TITLE");
  LevelChain sentence = NumberedChain(kCaseSentence);
  Format(sentence, 1, u"x");
  EXPECT_EQ(Format(sentence, 3, u"tITLE here"), u"1.1.a. Title here");
}

TEST(TitleFormat, UnknownLevelIsDropped) {
  LevelChain chain({Level(1, {})});
  ASSERT_EQ(chain.Prepare(), zelta::S_OK);
  std::u16string title = u"x";
  EXPECT_EQ(FormatTitle(chain, 0, title), zelta::S_FALSE);
  EXPECT_EQ(FormatTitle(chain, 7, title), zelta::S_FALSE);
}

TEST(TitleFormat, InvalidSearchPatternFailsPreparation) {
  TitleFormat f;
  f.flags = kFormatReplace;
  f.searchPattern = u"(unclosed";
  LevelChain chain({Level(1, f)});
  EXPECT_EQ(chain.Prepare(), zelta::E_INVALIDARG);
  EXPECT_NE(chain.Error().find(u"(unclosed"), std::u16string::npos);
}

}  // namespace
}  // namespace bm
