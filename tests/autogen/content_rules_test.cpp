// The content rules: stop words, case rules, patterns with their fallback level, duplicates.
#include <gtest/gtest.h>
#include <pthread.h>

#include "tests/autogen/scan_support.h"

namespace bm::testing {
namespace {

using V = std::vector<std::u16string>;

const std::map<uint32_t, std::u16string> kFonts = {{1, u"Body"}, {2, u"Bold"}};

std::vector<TextLine> Headings(const V& titles, float size = 18) {
  std::vector<TextLine> lines;
  for (const auto& t : titles) lines.push_back({{t, 2, size}});
  return lines;
}

TEST(StopWordRules, PlainWholeWordsAndCase) {
  StopWords whole({u"Index"}, kStopWholeWords);
  ASSERT_EQ(whole.Prepare(), zelta::S_OK);
  EXPECT_EQ(whole.Occurs(u"Subject index"), zelta::S_OK);  // at the end, any case
  EXPECT_EQ(whole.Occurs(u"Indexing data"), zelta::S_FALSE);
  StopWords exact({u"Index"}, kStopMatchCase);
  ASSERT_EQ(exact.Prepare(), zelta::S_OK);
  EXPECT_EQ(exact.Occurs(u"subject index"), zelta::S_FALSE);
  EXPECT_EQ(exact.Occurs(u"Indexing"), zelta::S_OK);
  StopWords skipEmpty({u"", u"zzz"}, 0);
  EXPECT_EQ(skipEmpty.Occurs(u"anything"), zelta::S_FALSE);
}

TEST(StopWordRules, RegularExpressions) {
  StopWords words({u"^\\d+$", u"contents"}, kStopRegex);
  ASSERT_EQ(words.Prepare(), zelta::S_OK);
  EXPECT_EQ(words.Occurs(u"123"), zelta::S_OK);
  EXPECT_EQ(words.Occurs(u"Table of CONTENTS"), zelta::S_OK);
  EXPECT_EQ(words.Occurs(u"Chapter 1"), zelta::S_FALSE);
  StopWords whole({u"data"}, kStopRegex | kStopWholeWords);
  ASSERT_EQ(whole.Prepare(), zelta::S_OK);
  EXPECT_EQ(whole.Occurs(u"data frames"), zelta::S_FALSE);
  EXPECT_EQ(whole.Occurs(u"DATA"), zelta::S_OK);
  StopWords bad({u"[a-"}, kStopRegex);
  EXPECT_EQ(bad.Prepare(), zelta::E_INVALIDARG);
  EXPECT_NE(bad.Error().find(u"[a-"), std::u16string::npos);
}

TEST(CaseRules, EachRule) {
  EXPECT_TRUE(PassesCaseRule(u"ABC 12!", kTextCaseAllCapital));
  EXPECT_FALSE(PassesCaseRule(u"ABc", kTextCaseAllCapital));
  EXPECT_TRUE(PassesCaseRule(u"Élan", kTextCaseFirstCapital));
  EXPECT_FALSE(PassesCaseRule(u" Lead", kTextCaseFirstCapital));
  EXPECT_TRUE(PassesCaseRule(u"3 Items", kTextCaseFirstDigit));
  EXPECT_FALSE(PassesCaseRule(u"Items", kTextCaseFirstDigit));
}

// A level's text pattern: case ignored unless asked for, the title cut to the match when the
// level says so.
TEST(PatternRules, PatternCaseAndLimit) {
  const struct {
    int32_t flags;
    std::u16string pattern;
    V titles;
  } cases[] = {
      {kLevelLimitToPattern, u"Chapter \\d+", {u"Chapter 3"}},
      {0, u"^chapter", {u"Chapter 3 Introduction"}},
      {kLevelPatternCase, u"^chapter", {}},
  };
  for (const auto& c : cases) {
    LevelOptions level = SizeLevel(1, 18);
    level.flags |= kLevelMatchPattern | c.flags;
    level.description.textPattern = c.pattern;
    ScanRig rig({level}, kFonts);
    ASSERT_EQ(rig.Scan(Headings({u"Chapter 3 Introduction", u"Preface"})), zelta::S_OK);
    EXPECT_EQ(rig.Titles(), c.titles) << c.flags;
  }
}

TEST(PatternRules, FallbackToDeeperLevelOfTheSameStyle) {
  LevelOptions chapter = SizeLevel(1, 18);
  chapter.flags |= kLevelMatchPattern;
  chapter.description.textPattern = u"^Chapter";
  LevelOptions other = SizeLevel(2, 18);
  other.format.prefix = u"> ";
  ScanRig rig({chapter, other}, kFonts);
  ASSERT_EQ(rig.Scan(Headings({u"Chapter 1", u"Appendix"})), zelta::S_OK);
  ASSERT_EQ(rig.sink.placed.size(), 2u);
  EXPECT_EQ(rig.sink.placed[0].index, 1);
  EXPECT_EQ(rig.sink.placed[1].title, u"> Appendix");  // formatted as the fallback level
  EXPECT_EQ(rig.sink.placed[1].index, 2);
}

TEST(PatternRules, FallbackSearchStopsAtALevelWithoutPattern) {
  LevelOptions chapter = SizeLevel(1, 18);
  chapter.flags |= kLevelMatchPattern;
  chapter.description.textPattern = u"^Chapter";
  LevelOptions different = SizeLevel(2, 10);  // another style, no pattern: the search ends
  LevelOptions same = SizeLevel(3, 18);
  ScanRig rig({chapter, different, same}, kFonts);
  EXPECT_EQ(rig.chain.Node(1).fallback, -1);
  ASSERT_EQ(rig.Scan(Headings({u"Appendix"})), zelta::S_OK);
  EXPECT_TRUE(rig.Titles().empty());
}

TEST(PatternRules, SameStyleRanges) {
  LevelOptions a = SizeLevel(1, 12);
  LevelOptions b = SizeLevel(2, 12.4);
  EXPECT_TRUE(LevelChain::SameStyle(a, b));  // 11.8-12.2 touches 12.2-12.6
  b.description.fontSize = 12.41;
  EXPECT_FALSE(LevelChain::SameStyle(a, b));
  LevelOptions c = SizeLevel(2, 12, {u"Bold"});
  LevelOptions d = SizeLevel(2, 12, {u"bold"});
  EXPECT_FALSE(LevelChain::SameStyle(c, d));  // font lists compare exactly
  EXPECT_TRUE(LevelChain::SameStyle(c, a));   // a does not test fonts
}

TEST(PatternRules, InvalidTextPatternFailsPreparation) {
  LevelOptions level = SizeLevel(1, 18);
  level.flags |= kLevelMatchPattern;
  level.description.textPattern = u"a{2,1}";
  ScanRig rig({level}, kFonts);
  EXPECT_EQ(rig.prepared, zelta::E_INVALIDARG);
}

// A back-reference pattern needs the recursive matcher; on any stack, however small, a title
// it cannot take ends in a failure, never a crash, and short titles still match.
TEST(PatternRules, BackReferencesAreBoundedOnASmallStack) {
  struct Work {
    zelta::HRESULT longTitle = zelta::S_OK, shortTitle = zelta::S_OK;
  } work;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1024 * 1024);
  pthread_t thread;
  auto run = [](void* data) -> void* {
    auto* w = static_cast<Work*>(data);
    TextRegex regex;
    if (zelta::Failed(regex.Compile(u"^(a|b)*\\1!$", false))) return nullptr;
    std::u16string title;
    for (int i = 0; i < 3995; ++i) title += u"ab";
    w->longTitle = regex.Search(title + u"b!", nullptr, nullptr);
    w->shortTitle = regex.Search(u"abb!", nullptr, nullptr);
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(work.longTitle, zelta::E_FAIL);
  EXPECT_EQ(work.shortTitle, zelta::S_OK);
}

TEST(DuplicateRules, ConsecutiveDuplicatesAcrossPages) {
  ScanRig rig({SizeLevel(1, 18)}, kFonts, kAgbIgnoreDuplicates);
  ASSERT_EQ(rig.Scan(Headings({u"Running head", u"Other"}), 0), zelta::S_OK);
  ASSERT_EQ(rig.Scan(Headings({u"Other", u"Running head"}), 1), zelta::S_OK);
  EXPECT_EQ(rig.Titles(), (V{u"Running head", u"Other", u"Running head"}));
}

TEST(DuplicateRules, StopWordsAndCaseRuleDrop) {
  LevelOptions level = SizeLevel(1, 18);
  level.description.matchTextCase = kTextCaseFirstCapital;
  ScanRig rig({level}, kFonts, kAgbStopWords, StopWords({u"Contents"}, kStopWholeWords));
  ASSERT_EQ(rig.Scan(Headings({u"Contents", u"lower case", u"Real Heading"})), zelta::S_OK);
  EXPECT_EQ(rig.Titles(), (V{u"Real Heading"}));
}

}  // namespace
}  // namespace bm::testing
