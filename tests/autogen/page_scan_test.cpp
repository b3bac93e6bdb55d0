// The page scan on synthetic page text whose runs, lines and styles the test controls.
#include <gtest/gtest.h>

#include "platform/locale_text.h"
#include "tests/autogen/scan_support.h"

namespace bm::testing {
namespace {

using V = std::vector<std::u16string>;

const std::map<uint32_t, std::u16string> kFonts = {{1, u"Body"}, {2, u"Bold"}, {3, u"Mono"}};

// Each run goes to the first level whose criteria (size within its tolerance, font name,
// colour with its alpha) it meets; a level without criteria takes every run, runs of one line
// that all match join without a separator, and one that does not match ends the title.
TEST(PageScan, EachRunGoesToTheFirstLevelItMatches) {
  LevelOptions tolerant = SizeLevel(2, 12);
  tolerant.description.fontTolerance = 5;
  LevelOptions red, all;
  red.index = all.index = 1;
  red.flags = kLevelMatchColor;
  red.description.color = 0xFFFF0000u;
  const std::vector<TextLine> codeInside = {
      {{u"Using ", 2, 14}, {u"lm()", 3, 14}, {u" models", 2, 14}}, {{u"x", 1, 10}}};
  const struct {
    const char* name;
    std::vector<LevelOptions> levels;
    std::vector<TextLine> page;
    V found;  // title@level
  } cases[] = {
      {"body text ignored",
       {SizeLevel(1, 18), SizeLevel(2, 14)},
       {{{u"Chapter One", 2, 18}}, {{u"body", 1, 10}}, {{u"Section A", 2, 14}}, {{u"more", 1, 10}}},
       {u"Chapter One@1", u"Section A@2"}},
      {"size edges inclusive, the earlier level wins",
       {SizeLevel(1, 12), tolerant},
       {{{u"low", 2, 11.8f}}, {{u"high", 2, 12.2f}}, {{u"outside", 2, 12.201f}}},
       {u"low@1", u"high@1", u"outside@2"}},
      {"a deeper level first",
       {SizeLevel(1, 18), SizeLevel(3, 12)},
       {{{u"Deep", 2, 12}}, {{u"Top", 2, 18}}},
       {u"Deep@3", u"Top@1"}},
      {"both fonts", {SizeLevel(2, 14, {u"Bold", u"Mono"})}, codeInside, {u"Using lm() models@2"}},
      {"one font", {SizeLevel(1, 14, {u"Bold"})}, codeInside, {u"Using @1", u" models@1"}},
      {"unknown font", {SizeLevel(1, 18, {u"Bold"})}, {{{u"ghost", 99, 18}}}, {}},
      {"colour with alpha",
       {red},
       {{{u"red", 1, 10, 0xFFFF0000u}}, {{u"half red", 1, 10, 0x80FF0000u}}},
       {u"red@1"}},
      {"no criteria", {all}, {{{u"a", 1, 10}, {u"b", 2, 20}}, {{u"c", 3, 5}}}, {u"ab@1", u"c@1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScanRig rig(c.levels, kFonts);
    ASSERT_EQ(rig.prepared, zelta::S_OK);
    ASSERT_EQ(rig.Scan(c.page), zelta::S_OK);
    V found;
    for (const Placed& placed : rig.sink.placed)
      found.push_back(placed.title + u"@" + platform::Utf8ToUtf16(std::to_string(placed.index)));
    EXPECT_EQ(found, c.found);
  }
}

// The destination opens at the title's first character (XYZ) or only its top (FitH), with the
// level's flags.
TEST(PageScan, DestinationIsTheFirstCharacter) {
  LevelOptions fitH = SizeLevel(2, 14);
  fitH.appearance.destType = zelta::kFitH;
  fitH.appearance.destFlags = 14;
  ScanRig rig({SizeLevel(1, 18), fitH}, kFonts);
  ASSERT_EQ(rig.Scan({{{u"body", 1, 10}}, {{u"Head", 2, 18}}, {{u"Sub", 2, 14}}}, 4), zelta::S_OK);
  ASSERT_EQ(rig.sink.placed.size(), 2u);
  const zelta::PageDestination& d = rig.sink.placed[0].destination;
  EXPECT_EQ(d.page, 4);
  EXPECT_EQ(d.fitType, zelta::kFitXYZ);
  EXPECT_EQ(d.flags, 12u);
  EXPECT_DOUBLE_EQ(d.values[0], 72);   // left of "H"
  EXPECT_DOUBLE_EQ(d.values[1], 740);  // top of the second line
  EXPECT_DOUBLE_EQ(d.values[2], 1.0);
  const zelta::PageDestination& h = rig.sink.placed[1].destination;
  EXPECT_EQ(h.fitType, zelta::kFitH);
  EXPECT_DOUBLE_EQ(h.values[0], 720);
  EXPECT_EQ(h.flags, 14u);
}

TEST(PageScan, MultilineJoinsWithOneBlank) {
  std::vector<TextLine> page = {
      {{u"Chapter 1", 2, 18}}, {{u"Introduction", 2, 18}}, {{u"text", 1, 10}}};
  ScanRig single({SizeLevel(1, 18)}, kFonts);
  ASSERT_EQ(single.Scan(page), zelta::S_OK);
  EXPECT_EQ(single.Titles(), (V{u"Chapter 1", u"Introduction"}));

  LevelOptions multi = SizeLevel(1, 18);
  multi.flags |= kLevelMultiline;
  ScanRig joined({multi}, kFonts);
  ASSERT_EQ(joined.Scan(page), zelta::S_OK);
  EXPECT_EQ(joined.Titles(), (V{u"Chapter 1 Introduction"}));

  // A blank already at the join is not doubled.
  ScanRig blank({multi}, kFonts);
  ASSERT_EQ(blank.Scan({{{u"Chapter 1 ", 2, 18}}, {{u"Introduction", 2, 18}}}), zelta::S_OK);
  EXPECT_EQ(blank.Titles(), (V{u"Chapter 1 Introduction"}));

  // A line that starts with a section number of two parts starts a title of its own; one
  // that starts with a plain number goes on.
  ScanRig numbered({multi}, kFonts);
  ASSERT_EQ(numbered.Scan({{{u"9.3.4 The commands", 2, 18}},
                           {{u"9.3.4.1 convert", 2, 18}},
                           {{u"A.2", 2, 18}},
                           {{u"10 more", 2, 18}}}),
            zelta::S_OK);
  EXPECT_EQ(numbered.Titles(), (V{u"9.3.4 The commands", u"9.3.4.1 convert", u"A.2 10 more"}));
}

// A section number set apart by a wide space comes as a line of its own; on the title's
// baseline it is part of the title even for a level of one-line titles.
TEST(PageScan, ANumberSetApartOnTheTitlesBaselineStartsIt) {
  auto chars = MakePage({{{u"3.1", 2, 14}}, {{u"Shared Memory", 2, 14}}, {{u"Next", 2, 14}}});
  for (zelta::PageTextChar& ch : chars)
    if (ch.line == 1) {  // up onto the number's baseline, to its right
      ch.top += 20;
      ch.bottom += 20;
      ch.left += 40;
      ch.right += 40;
    }
  ScanRig rig({SizeLevel(1, 14)}, kFonts);
  ASSERT_EQ(rig.scanner.Scan(chars.data(), static_cast<int32_t>(chars.size()), 0), zelta::S_OK);
  EXPECT_EQ(rig.Titles(), (V{u"3.1 Shared Memory", u"Next"}));
}

// A running header set in a heading style does not run on into the heading further down.
TEST(PageScan, MultilineTitleStopsAtALineFarBelow) {
  LevelOptions multi = SizeLevel(1, 10);
  multi.flags |= kLevelMultiline;
  ScanRig rig({multi}, kFonts);
  ASSERT_EQ(rig.Scan({{{u"Class Documentation", 2, 10}},
                      {},
                      {{u"A member heading", 2, 10}},
                      {{u"on two lines", 2, 10}},
                      {{u"body", 1, 8}}}),
            zelta::S_OK);
  EXPECT_EQ(rig.Titles(), (V{u"Class Documentation", u"A member heading on two lines"}));
  ASSERT_EQ(rig.sink.placed.size(), 2u);
  EXPECT_DOUBLE_EQ(rig.sink.placed[1].destination.values[1], 720);
}

TEST(PageScan, HyphenAtALineEndJoinsAWordOnlyWhenTheNextLineGoesOnInLowerCase) {
  LevelOptions multi = SizeLevel(1, 18);
  multi.flags |= kLevelMultiline;
  const struct {
    std::u16string first, second, title;
  } cases[] = {
      {u"A hyphen-", u"ated title", u"A hyphenated title"},
      {u"Long-", u"Term plans", u"Long-Term plans"},
      {u"Pages 10 -", u"20", u"Pages 10 - 20"},
      {u"Version 2-", u"3 notes", u"Version 2- 3 notes"},
  };
  for (const auto& c : cases) {
    ScanRig rig({multi}, kFonts);
    ASSERT_EQ(rig.Scan({{{c.first, 2, 18}}, {{c.second, 2, 18}}}), zelta::S_OK);
    EXPECT_EQ(rig.Titles(), V{c.title}) << platform::Utf16ToUtf8(c.first);
  }
}

// A page scanned with a level of `size` in the bold font, without and with `flag`.
struct JoinCase {
  const char* name;
  std::vector<TextLine> page;
  V plain, joined;
};

void ExpectTitles(const std::vector<JoinCase>& cases, double size, int32_t flag) {
  LevelOptions joining = SizeLevel(2, size, {u"Bold"});
  joining.flags |= flag;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScanRig plain({SizeLevel(1, 18), SizeLevel(2, size, {u"Bold"})}, kFonts);
    ASSERT_EQ(plain.Scan(c.page), zelta::S_OK);
    EXPECT_EQ(plain.Titles(), c.plain);
    ScanRig joined({SizeLevel(1, 18), joining}, kFonts);
    ASSERT_EQ(joined.Scan(c.page), zelta::S_OK);
    EXPECT_EQ(joined.Titles(), c.joined);
  }
}

// Headings with runs of other sizes or fonts inside: a superscript, a letter of another font,
// an acronym set smaller. Under kLevelJoinSmallerRuns they stay whole; by default (and for
// runs that are larger, end the line or belong to another level) the title ends at them.
TEST(PageScan, SmallerRunsInsideATitleContinueItUnderTheFlag) {
  ExpectTitles(
      {{"superscript",
        {{{u"2 The value of e", 2, 14}, {u"ln(3)", 1, 9}, {u" and beyond", 2, 14}},
         {{u"x", 1, 10}}},
        {u"2 The value of e", u" and beyond"},
        {u"2 The value of eln(3) and beyond"}},
       {"other font",
        {{{u"Sets over ", 2, 14}, {u"R", 3, 14}, {u" and limits", 2, 14}}, {{u"x", 1, 10}}},
        {u"Sets over ", u" and limits"},
        {u"Sets over R and limits"}},
       {"acronym",
        {{{u"The R ", 2, 14}, {u"API", 2, 11}, {u": entry points", 2, 14}}},
        {u"The R ", u": entry points"},
        {u"The R API: entry points"}},
       {"trailing run",
        {{{u"Notes", 2, 14}, {u"1", 1, 8}}, {{u"x", 1, 10}}},
        {u"Notes"},
        {u"Notes"}},
       {"larger run",
        {{{u"Big ", 2, 14}, {u"X", 1, 20}, {u" end", 2, 14}}},
        {u"Big ", u" end"},
        {u"Big ", u" end"}},
       {"next line",
        {{{u"Head", 2, 14}, {u"x", 1, 9}}, {{u"Tail", 2, 14}}},
        {u"Head", u"Tail"},
        {u"Head", u"Tail"}},
       {"other level",
        {{{u"Part ", 2, 14}, {u"Sub", 2, 18}, {u" rest", 2, 14}}},
        {u"Part ", u"Sub", u" rest"},
        {u"Part ", u"Sub", u" rest"}}},
      14, kLevelJoinSmallerRuns);
}

// Symbols set in another font, larger than the title ("<" from a math font), continue it
// under kLevelJoinSymbolRuns when the level's text follows on the line; letters, another
// level or the end of the line still end it, and without the flag any such run does.
TEST(PageScan, SymbolRunsOfAnotherFontContinueATitleUnderTheFlag) {
  ExpectTitles(
      {{"shift operator",
        {{{u"7.1 operator", 2, 9}, {u"<<", 3, 10}, {u"() [1/2]", 2, 9}}, {{u"body", 1, 10}}},
        {u"7.1 operator", u"() [1/2]"},
        {u"7.1 operator<<() [1/2]"}},
       {"leading symbol", {{{u"~", 3, 10}, {u"widget()", 2, 9}}}, {u"widget()"}, {u"widget()"}},
       {"letters",
        {{{u"search", 2, 9}, {u"x", 3, 10}, {u" true", 2, 9}}},
        {u"search", u" true"},
        {u"search", u" true"}},
       {"symbol at the end",
        {{{u"less", 2, 9}, {u" <", 3, 10}}, {{u"body", 1, 10}}},
        {u"less"},
        {u"less"}},
       {"other level",
        {{{u"Part", 2, 9}, {u"<", 3, 10}, {u"Big", 2, 18}}},
        {u"Part", u"Big"},
        {u"Part", u"Big"}}},
      9, kLevelJoinSymbolRuns);
}

TEST(PageScan, StyleBreakInsideARunEndsTheTitleAtTheNextRun) {
  ScanRig rig({SizeLevel(1, 18)}, kFonts);
  auto chars = MakePage({{{u"Head", 2, 18}, {u"More", 2, 18}}, {{u"Next", 2, 18}}});
  chars[2].size = 10;  // a character of another size inside the first run, without a run start
  ASSERT_EQ(rig.scanner.Scan(chars.data(), static_cast<int32_t>(chars.size()), 0), zelta::S_OK);
  // The run stays whole; the title ends at the next run start although it matches too.
  EXPECT_EQ(rig.Titles(), (V{u"Head", u"More", u"Next"}));
}

TEST(PageScan, FontNamesAreLookedUpOncePerFont) {
  ScanRig rig({SizeLevel(1, 18, {u"bold"}), SizeLevel(2, 14, {u"Bold"})}, kFonts);
  std::vector<TextLine> page;
  for (int i = 0; i < 50; ++i) page.push_back({{u"body", 1, 10}, {u"B", 2, 18}});
  ASSERT_EQ(rig.Scan(page), zelta::S_OK);
  EXPECT_EQ(rig.sink.placed.size(), 50u);
  EXPECT_LE(rig.fontNames.lookups, 2);  // font names compare without case
}

TEST(PageScan, EmptyPageAndFailedPlacing) {
  ScanRig rig({SizeLevel(1, 18)}, kFonts);
  EXPECT_EQ(rig.Scan({}), zelta::S_OK);
  rig.sink.fail = zelta::E_ACCESS_DENIED;
  EXPECT_EQ(rig.Scan({{{u"One", 2, 18}}, {{u"Two", 2, 18}}}), zelta::E_ACCESS_DENIED);
  EXPECT_EQ(rig.sink.placed.size(), 1u);  // the scan stops at the failure
}

}  // namespace
}  // namespace bm::testing
