// The text functions of find and replace: literal replacement, bounded regular expressions
// and their error texts.
#include <gtest/gtest.h>

#include "support/bounded_regex.h"
#include "tools/title/frt_operation.h"
#include "tools/title/literal_replace.h"
#include "tools/title/regex_error_text.h"

namespace bm {
namespace {

std::u16string Literal(std::u16string title, std::u16string_view find, std::u16string_view with,
                       bool matchCase = false, bool wholeWord = false,
                       ReplaceOutcome expected = ReplaceOutcome::kChanged) {
  EXPECT_EQ(LiteralReplace(title, find, with, matchCase, wholeWord), expected)
      << std::string(find.begin(), find.end());
  return title;
}

TEST(LiteralReplace, CaseAndWholeWords) {
  EXPECT_EQ(Literal(u"Chapter 1 - chapter one", u"chapter", u"Part"), u"Part 1 - Part one");
  EXPECT_EQ(Literal(u"Chapter 1 - chapter one", u"chapter", u"Part", true),
            u"Chapter 1 - Part one");
  EXPECT_EQ(Literal(u"aAbA", u"a", u"-"), u"--b-");  // one character, ignoring case
  EXPECT_EQ(Literal(u"Straße STRASSE", u"ß", u"ss"), u"Strasse STRASSE");
  EXPECT_EQ(Literal(u"cat catalog cat_1", u"cat", u"dog", false, true), u"dog catalog dog_1");
  EXPECT_EQ(Literal(u"bobcat", u"cat", u"dog", false, true, ReplaceOutcome::kUnchanged), u"bobcat");
}

TEST(LiteralReplace, InsertedTextIsNeverSearchedAgain) {
  EXPECT_EQ(Literal(u"banana", u"a", u"aa"), u"baanaanaa");
  EXPECT_EQ(Literal(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(Literal(u"x a y a", u"a", u""), u"x  y ");
}

TEST(LiteralReplace, NothingFoundIsNoChange) {
  EXPECT_EQ(Literal(u"title", u"", u"x", false, false, ReplaceOutcome::kUnchanged), u"title");
  EXPECT_EQ(Literal(u"title", u"nothing", u"x", false, false, ReplaceOutcome::kUnchanged),
            u"title");
  EXPECT_EQ(Literal(u"", u"a", u"x", false, false, ReplaceOutcome::kUnchanged), u"");
  // Replacing a text by itself finds it but changes nothing.
  EXPECT_EQ(Literal(u"Part one", u"Part", u"Part", true, false, ReplaceOutcome::kUnchanged),
            u"Part one");
}

// Growth past the limit stops the replacing and leaves the title as it was.
TEST(LiteralReplace, StopsAtTheLengthLimit) {
  EXPECT_EQ(Literal(u"a-a", u"a", u"bbb"), u"bbb-bbb");
  std::u16string title = u"a-a";
  EXPECT_EQ(LiteralReplace(title, u"a", u"bbb", false, false, 6), ReplaceOutcome::kTooLong);
  EXPECT_EQ(title, u"a-a");
  EXPECT_EQ(LiteralReplace(title, u"a", u"bbb", false, false, 7), ReplaceOutcome::kChanged);
  BoundedRegex regex;
  ASSERT_FALSE(regex.Compile(u"a", false));
  title = u"a-a";
  EXPECT_EQ(regex.Replace(title, u"bbb", nullptr, 6), BoundedRegex::Outcome::kTooLong);
  EXPECT_EQ(title, u"a-a");
  EXPECT_EQ(regex.Replace(title, u"bbb", nullptr, 7), BoundedRegex::Outcome::kChanged);
}

BoundedRegex::Outcome Pattern(std::u16string& text, std::u16string_view pattern,
                              std::u16string_view format, bool ignoreCase = false,
                              int* error = nullptr) {
  BoundedRegex regex;
  EXPECT_FALSE(regex.Compile(pattern, ignoreCase));
  return regex.Replace(text, format, error);
}

TEST(BoundedRegex, ReplacesWithTheEcmaScriptFormat) {
  std::u16string text = u"1.2 Intro";
  EXPECT_EQ(Pattern(text, u"^(\\d+)\\.(\\d+)", u"$2.$1"), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"2.1 Intro");
  text = u"INTRO intro";
  EXPECT_EQ(Pattern(text, u"intro", u"[$&]", true), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"[INTRO] [intro]");
  text = u"cost 5";
  EXPECT_EQ(Pattern(text, u"\\d", u"$$$&"), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"cost $5");
  text = u"no digits";
  EXPECT_EQ(Pattern(text, u"\\d+", u"#"), BoundedRegex::Outcome::kUnchanged);
}

TEST(BoundedRegex, WorksOnWholeCharactersAndAcceptsBackReferences) {
  std::u16string text = u"a\U0001F600b";
  EXPECT_EQ(Pattern(text, u"a.b", u"<$&>"), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"<a\U0001F600b>");
  text = u"École école";
  EXPECT_EQ(Pattern(text, u"école", u"X", true), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"X X");
  BoundedRegex regex;
  EXPECT_FALSE(regex.Compile(u"(\\w)\\1", false));
  EXPECT_TRUE(regex.HasBackReferences());
  text = u"aabcc";
  EXPECT_EQ(regex.Replace(text, u"$1", nullptr), BoundedRegex::Outcome::kChanged);
  EXPECT_EQ(text, u"abc");
}

TEST(BoundedRegex, CompileErrorsCarryTheirCodes) {
  BoundedRegex regex;
  EXPECT_EQ(regex.Compile(u"[ab", false), std::regex_constants::error_brack);
  EXPECT_EQ(regex.Compile(u"(ab", false), std::regex_constants::error_paren);
  EXPECT_EQ(regex.Compile(u"a{1", false), std::regex_constants::error_brace);
  EXPECT_EQ(regex.Compile(u"a\\", false), std::regex_constants::error_escape);
  EXPECT_EQ(regex.Compile(u"[z-a]", false), std::regex_constants::error_range);
  EXPECT_EQ(regex.Compile(u"(a)\\2", false), std::regex_constants::error_backref);
  EXPECT_FALSE(regex.Compiled());
  EXPECT_FALSE(CheckFindPattern(u"", false));
  EXPECT_EQ(CheckFindPattern(u"a{2,1}", true), std::regex_constants::error_badbrace);
}

TEST(BoundedRegex, OversizedPatternsAreRefusedBeforeCompiling) {
  BoundedRegex regex;
  EXPECT_EQ(regex.Compile(std::u16string(BoundedRegex::kMaxPatternLength + 1, u'a'), false),
            std::regex_constants::error_complexity);
  EXPECT_EQ(regex.Compile(u"((a{100}){100}){100}", false), std::regex_constants::error_complexity);
  EXPECT_EQ(regex.Compile(std::u16string(200, u'(') + u"a" + std::u16string(200, u')'), false),
            std::regex_constants::error_complexity);
  EXPECT_FALSE(regex.Compile(u"\\d{1,3}(\\.\\d{1,3}){3}", false));
  EXPECT_FALSE(regex.Compile(std::u16string(BoundedRegex::kMaxPatternLength, u'a'), false));
}

// One replacement by "x". The matcher's step budget and stack guard end it whatever the
// title; how fast belongs to the benchmarks, not here.
BoundedRegex::Outcome ReplaceOnce(std::u16string_view pattern, std::u16string title, int* error) {
  BoundedRegex regex;
  EXPECT_FALSE(regex.Compile(pattern, false));
  return regex.Replace(title, u"x", error);
}

TEST(BoundedRegex, PathologicalMatchesOnHugeTitlesEndWithAFailure) {
  const std::u16string huge(100000, u'a');
  int error = -1;
  // Quadratic search without back-references: the step budget ends it.
  EXPECT_EQ(ReplaceOnce(u"(a|b)*c", huge, &error), BoundedRegex::Outcome::kFailed);
  EXPECT_EQ(error, std::regex_constants::error_complexity);
  // Back-references need the recursive matcher, which would overflow the stack here.
  EXPECT_EQ(ReplaceOnce(u"(a|b)*\\1c", huge, &error), BoundedRegex::Outcome::kFailed);
  EXPECT_TRUE(error == std::regex_constants::error_stack ||
              error == std::regex_constants::error_complexity);
  // Exponential backtracking on a short title.
  EXPECT_EQ(ReplaceOnce(u"(a*)*\\1b", std::u16string(40, u'a'), &error),
            BoundedRegex::Outcome::kFailed);
  // A simple pattern over the same huge title is fine.
  EXPECT_EQ(ReplaceOnce(u"a", huge, &error), BoundedRegex::Outcome::kChanged);
}

TEST(RegexErrorText, EveryCodeHasTheTextOfItsId) {
  EXPECT_EQ(RegexErrorTextId(std::regex_constants::error_collate),
            u"bookmarksPlugin.regex.error.collate");
  EXPECT_EQ(RegexErrorTextId(std::regex_constants::error_brack),
            u"bookmarksPlugin.regex.error.brack");
  EXPECT_EQ(RegexErrorTextId(std::regex_constants::error_stack),
            u"bookmarksPlugin.regex.error.stack");
  EXPECT_EQ(RegexErrorTextId(14), u"bookmarksPlugin.regex.error.syntax");
  EXPECT_EQ(RegexErrorTextId(13), u"bookmarksPlugin.regex.error.default");
  EXPECT_EQ(RegexErrorTextId(-1), u"bookmarksPlugin.regex.error.default");
}

TEST(FindHistory, MostRecentFirstWithoutDuplicates) {
  std::vector<std::u16string> history{u"b", u"a"};
  PushHistory(history, u"a");
  EXPECT_EQ(history, (std::vector<std::u16string>{u"a", u"b"}));
  PushHistory(history, u"a");
  EXPECT_EQ(history, (std::vector<std::u16string>{u"a", u"b"}));
  PushHistory(history, u"A");  // case-sensitive
  EXPECT_EQ(history.front(), u"A");
  for (int i = 0; i < 40; ++i)
    PushHistory(history, std::u16string(1, static_cast<char16_t>(u'0' + i)));
  EXPECT_EQ(history.size(), kFrtHistorySize);
  EXPECT_EQ(history.front(), std::u16string(1, static_cast<char16_t>(u'0' + 39)));
}

}  // namespace
}  // namespace bm
