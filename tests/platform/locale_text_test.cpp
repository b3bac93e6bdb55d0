#include "platform/locale_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace bm::platform {
namespace {

// Sets the collation locale for one test and puts the environment back afterwards.
class LocaleScope {
 public:
  explicit LocaleScope(const char* locale) {
    if (const char* old = std::getenv("LC_ALL")) old_ = old;
    setenv("LC_ALL", locale, 1);
  }
  ~LocaleScope() {
    if (old_)
      setenv("LC_ALL", old_->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

 private:
  std::optional<std::string> old_;
};

std::u16string Upper(std::u16string text) {
  EXPECT_EQ(UpperCaseInPlace(text.data(), text.size()), text.size());
  return text;
}
std::u16string Lower(std::u16string text) {
  EXPECT_EQ(LowerCaseInPlace(text.data(), text.size()), text.size());
  return text;
}

TEST(CaseMapping, AccentedLettersMapBothWays) {
  EXPECT_EQ(Upper(u"élan, çà et là: ñandú"), u"ÉLAN, ÇÀ ET LÀ: ÑANDÚ");
  EXPECT_EQ(Lower(u"ÉCOLE ÅNGSTRÖM ΩΣ"), u"école ångström ωσ");
  // Digits, spaces and punctuation are never touched.
  EXPECT_EQ(Upper(u"1.2-3 (x)"), u"1.2-3 (X)");
  // Sharp s stays one code unit.
  EXPECT_EQ(Upper(u"straße"), u"STRAßE");
  EXPECT_EQ(Lower(u"STRAẞE"), u"straße");
}

TEST(CaseMapping, TurkishDottedAndDotlessIUseRootMappings) {
  LocaleScope turkish("tr_TR.UTF-8");
  EXPECT_EQ(Upper(u"i"), u"I");
  EXPECT_EQ(Lower(u"I"), u"i");
  EXPECT_EQ(Upper(u"ı"), u"I");
  EXPECT_EQ(Lower(u"İ"), u"i");
}

TEST(CaseMapping, SurrogatePairsMapAsOneCodePoint) {
  // DESERET SMALL LETTER LONG I <-> CAPITAL.
  EXPECT_EQ(Upper(u"a\U00010428b"), u"A\U00010400B");
  EXPECT_EQ(Lower(u"\U00010400"), u"\U00010428");
  // Lone surrogates, including a lead at the very end, stay as they are.
  std::u16string broken =
      u"a\xDC00"
      u"b\xD801";
  EXPECT_EQ(Upper(broken),
            u"A\xDC00"
            u"B\xD801");
}

TEST(CaseMapping, NullAndEmptyInput) {
  EXPECT_EQ(UpperCaseInPlace(nullptr, 5), 0u);
  char16_t empty[1] = {u'x'};
  EXPECT_EQ(LowerCaseInPlace(empty, 0), 0u);
  EXPECT_EQ(empty[0], u'x');
}

TEST(CharacterClasses, LettersDigitsApostropheCjk) {
  EXPECT_TRUE(IsAlpha(u'a'));
  EXPECT_TRUE(IsAlpha(u'É'));
  EXPECT_TRUE(IsAlpha(u'Ω'));
  EXPECT_TRUE(IsAlpha(u'中'));
  EXPECT_FALSE(IsAlpha(u'7'));
  EXPECT_FALSE(IsAlpha(u'\''));
  EXPECT_FALSE(IsAlpha(u' '));
  EXPECT_FALSE(IsAlpha(u'\xD801'));
  EXPECT_TRUE(IsAlphaNumeric(u'7'));
  EXPECT_TRUE(IsAlphaNumeric(u'ß'));
  EXPECT_FALSE(IsAlphaNumeric(u'-'));
  EXPECT_TRUE(IsUpper(u'Ä'));
  EXPECT_FALSE(IsUpper(u'ä'));
  EXPECT_TRUE(IsLower(u'ß'));
  EXPECT_FALSE(IsLower(u'中'));
  EXPECT_FALSE(IsUpper(u'中'));
}

TEST(Collation, AccentedWordsSortBesidePlainOnesUnderRoot) {
  LocaleScope root("C");
  // A code-unit comparison would put é (U+00E9) after every ASCII letter.
  EXPECT_LT(CompareText(u"école", u"ezra", false), 0);
  EXPECT_LT(CompareText(u"cote", u"côte", false), 0);
  EXPECT_LT(CompareText(u"côte", u"cotf", false), 0);
  EXPECT_LT(CompareText(u"apple", u"Banana", false), 0);
  EXPECT_EQ(CompareText(u"same", u"same", false), 0);
  EXPECT_LT(CompareText(u"", u"a", false), 0);
}

TEST(Collation, IgnoreCaseKeepsAccentsApart) {
  LocaleScope root("POSIX");
  EXPECT_EQ(CompareText(u"Hello World", u"hELLO wORLD", true), 0);
  EXPECT_NE(CompareText(u"Hello", u"hello", false), 0);
  EXPECT_NE(CompareText(u"resume", u"résumé", true), 0);
  EXPECT_EQ(CompareText(u"RÉSUMÉ", u"résumé", true), 0);
}

TEST(Collation, FollowsTheEnvironmentLocale) {
  {
    LocaleScope root("C");
    EXPECT_LT(CompareText(u"äpple", u"zebra", false), 0);
  }
  {
    // Swedish sorts ä after z; the encoding suffix is ignored.
    LocaleScope swedish("sv_SE.UTF-8");
    EXPECT_GT(CompareText(u"äpple", u"zebra", false), 0);
  }
}

TEST(Collation, ConcurrentComparisonsShareTheCache) {
  LocaleScope german("de_DE.UTF-8");
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &wrong] {
      for (int i = 0; i < 500; ++i) {
        bool ignoreCase = (i + t) % 2 == 0;
        if (CompareText(u"Äpfel", u"Birnen", ignoreCase) >= 0) ++wrong[t];
        if ((CompareText(u"ÄPFEL", u"äpfel", ignoreCase) == 0) != ignoreCase) ++wrong[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int count : wrong) EXPECT_EQ(count, 0);
}

TEST(FindIgnoreCase, FindsAcrossCase) {
  EXPECT_EQ(FindIgnoreCase(u"Hello World", u"WORLD"), 6u);
  EXPECT_EQ(FindIgnoreCase(u"ÉCOLE école", u"école", 1), 6u);
  EXPECT_EQ(FindIgnoreCase(u"abc", u"abcd"), std::u16string_view::npos);
  // Final sigma folds to sigma.
  EXPECT_EQ(FindIgnoreCase(u"ΟΔΥΣΣΕΥΣ", u"ς"), 3u);
  // Simple folding: ß is not "ss".
  EXPECT_EQ(FindIgnoreCase(u"STRASSE", u"straße"), std::u16string_view::npos);
  // Bounds and the empty needle.
  EXPECT_EQ(FindIgnoreCase(u"abc", u"", 3), 3u);
  EXPECT_EQ(FindIgnoreCase(u"abc", u"", 4), std::u16string_view::npos);
  EXPECT_EQ(FindIgnoreCase(u"abc", u"a", 9), std::u16string_view::npos);
  EXPECT_EQ(FindIgnoreCase(u"aXa", u"A", 1), 2u);
  // Surrogate pairs fold as one; a lone trail never matches the second half of a pair.
  EXPECT_EQ(FindIgnoreCase(u"x\U00010400y", u"\U00010428Y"), 1u);
  EXPECT_EQ(FindIgnoreCase(u"\U00010428", u"\xDC28"), std::u16string_view::npos);
}

}  // namespace
}  // namespace bm::platform
