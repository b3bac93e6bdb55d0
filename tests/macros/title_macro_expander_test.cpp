// Every macro evaluated on bookmarks of a real document.
#include "macros/title_macro_expander.h"

#include <gtest/gtest.h>

#include "macros/first_line.h"
#include "tests/harness/core_host.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::testing::ActionSpec;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

ActionSpec LaunchAction(std::string file) {
  ActionSpec action;
  action.type = "Launch";
  action.file = std::move(file);
  return action;
}

// A: 3rd page; A/B: named "sec-b" (page 5); A/B/C: no target; D: URI then launch, 2nd page.
PdfSpec Document() {
  PdfSpec layout;
  layout.pages.resize(7);
  layout.infoTitle = "The Manual";
  layout.namedDests = {{"sec-b", 4}};
  layout.labels = {{0, 'r', "", 1}, {2, 'D', "P-", 1}};
  OutlineSpec c = Mark("C");
  OutlineSpec b = NamedMark("B", "sec-b");
  b.children.push_back(c);
  OutlineSpec a = Mark("A", 2);
  a.children.push_back(b);
  OutlineSpec d = Mark("D", 1);
  d.actions = {UriAction("https://example.org/x"), LaunchAction("notes.txt")};
  layout.outline = {a, d};
  return layout;
}

class MacroExpansion : public ::testing::Test {
 protected:
  void SetUp() override {
    document_ = host_.Open(Document());
    expander_ = std::make_unique<TitleMacroExpander>(&host_.App(), document_.Get(),
                                                     platform::EnvironmentSources{"", ""});
    expander_->SetClock([] {
      platform::DateTimeContext ctx;
      ctx.millis = 1709647629000.0;  // 2024-03-05 14:07:09 UTC
      ctx.locale = "en_GB";
      ctx.timeZone = "UTC";
      return ctx;
    });
  }

  // The template rendered for each bookmark in turn (bookmarks by 1-based path).
  std::vector<std::u16string> Expand(std::u16string_view text,
                                     const std::vector<std::vector<int>>& paths,
                                     uint32_t mask = kAllMacros) {
    TitleTemplate t;
    EXPECT_EQ(expander_->RegisterMacros(t, mask), zelta::S_OK);
    EXPECT_EQ(expander_->ParseTemplate(t, text), zelta::S_OK);
    expander_->Reset();
    expander_->LoadDocumentValues();
    std::vector<std::u16string> out;
    for (const auto& path : paths) {
      auto bookmark = BookmarkAt(document_.Get(), path);
      EXPECT_TRUE(bookmark);
      EXPECT_EQ(expander_->SetBookmark(bookmark.Get()), zelta::S_OK);
      std::u16string rendered;
      EXPECT_EQ(t.Render(rendered), zelta::S_OK);
      out.push_back(rendered);
    }
    return out;
  }

  using Texts = std::vector<std::u16string>;
  CoreHost host_;
  ComPtr<zelta::IHostDocument> document_;
  std::unique_ptr<TitleMacroExpander> expander_;
};

TEST_F(MacroExpansion, TargetPageLabelAndNamedDestination) {
  EXPECT_EQ(Expand(u"Page %[Page]", {{1}, {1, 1}, {1, 1, 1}, {2}}),
            (Texts{u"Page 3", u"Page 5", u"Page ", u"Page 2"}));
  EXPECT_EQ(Expand(u"%[Label]", {{1}, {1, 1}, {1, 1, 1}, {2}}),
            (Texts{u"P-1", u"P-3", u"", u"ii"}));
  EXPECT_EQ(Expand(u"[%[Dest]]", {{1}, {1, 1}}), (Texts{u"[]", u"[sec-b]"}));
}

TEST_F(MacroExpansion, PositionsInTheTree) {
  const std::vector<std::vector<int>> all{{1}, {1, 1}, {1, 1, 1}, {2}};
  EXPECT_EQ(Expand(u"%[Level]", all), (Texts{u"1", u"2", u"3", u"1"}));
  EXPECT_EQ(Expand(u"%[IndexInPar]", all), (Texts{u"1", u"1", u"1", u"2"}));
  EXPECT_EQ(Expand(u"%[HierIndex]", all), (Texts{u"1", u"1.1", u"1.1.1", u"2"}));
  // Asked out of document order, the cached positions still agree.
  EXPECT_EQ(Expand(u"%[HierIndex]", {{2}, {1, 1, 1}, {1}}), (Texts{u"2", u"1.1.1", u"1"}));
}

TEST_F(MacroExpansion, TitlesAndHierarchicalTitles) {
  EXPECT_EQ(Expand(u"%[HierTitle: > ]", {{1, 1, 1}, {2}}), (Texts{u"A > B > C", u"D"}));
  EXPECT_EQ(Expand(u"%[HierTitle]", {{1, 1}}), (Texts{u"A B"}));
  EXPECT_EQ(Expand(u"%[HierTitle:]|%[title]", {{1, 1}}), (Texts{u"AB|B"}));
}

TEST_F(MacroExpansion, SequenceNumbersAndPageCount) {
  const std::vector<std::vector<int>> three{{1}, {1, 1}, {2}};
  EXPECT_EQ(Expand(u"%[SeqNum:10]", three), (Texts{u"10", u"11", u"12"}));
  EXPECT_EQ(Expand(u"%[SeqNum:x]", three), (Texts{u"1", u"2", u"3"}));
  EXPECT_EQ(Expand(u"%[SeqNum]-%[SeqNum:-1]", three), (Texts{u"1--1", u"2-0", u"3-1"}));
  EXPECT_EQ(Expand(u"%[PagesCount:3]", {{1}}), (Texts{u"007"}));
  EXPECT_EQ(Expand(u"%[PagesCount:20]", {{1}}), (Texts{u"000000000007"}));
  EXPECT_EQ(Expand(u"%[PagesCount:3x]|%[PagesCount:0]", {{1}}), (Texts{u"7|7"}));
}

TEST_F(MacroExpansion, DocumentLinksAndClock) {
  EXPECT_EQ(Expand(u"%[URI] %[File]", {{2}, {1}}),
            (Texts{u"https://example.org/x notes.txt", u" "}));
  EXPECT_EQ(Expand(u"%[DocTitle]: %[Date:yyyy-MM-dd] %[Time:HH:mm]", {{1}}),
            (Texts{u"The Manual: 2024-03-05 14:07"}));
  EXPECT_EQ(Expand(u"%[Date]", {{1}}), (Texts{u"05/03/2024"}));
  EXPECT_EQ(expander_->PagesCountText(), u"7");
}

TEST_F(MacroExpansion, UnknownAndMaskedMacrosAreEmpty) {
  EXPECT_EQ(Expand(u"a%[Nothing]b", {{1}}), (Texts{u"ab"}));
  // Date is outside the named-destination mask: it marks the template but renders nothing.
  TitleTemplate t;
  expander_->RegisterMacros(t, kNamedDestMacros);
  expander_->ParseTemplate(t, u"x%[Date]");
  EXPECT_TRUE(t.HasMacros());
  std::u16string out;
  t.Render(out);
  EXPECT_EQ(out, u"x");
  // An unknown name alone empties the same way as beside a known one.
  TitleTemplate alone;
  expander_->ParseTemplate(alone, u"100% %[Nothing]");
  EXPECT_TRUE(alone.HasMacros());
  alone.Render(out);
  EXPECT_EQ(out, u"100% ");
  EXPECT_EQ(Expand(u"X%[Number]Y", {{1}}), (Texts{u"XY"}));
  EXPECT_EQ(Expand(u"X%[Number]Y%[Level]", {{1}}), (Texts{u"XY1"}));
}

TEST_F(MacroExpansion, UnknownNamesAreWarnedOnceWithTheMacrosOnOffer) {
  TitleTemplate first, second;
  expander_->RegisterMacros(first, kEveryNthPageMacros);
  expander_->RegisterMacros(second, kEveryNthPageMacros);
  expander_->ParseTemplate(first, u"%[Number] %[page] %[Title]");
  expander_->ParseTemplate(second, u"%[NUMBER]%[Level:2]");
  // Each name once as first written; Title and Level are macros, but not of this tool.
  EXPECT_EQ(expander_->TakeUnknownMacroWarning(),
            u"Unknown title macros %[Number], %[Title], %[Level]: they give an empty text. "
            u"The macros here are %[SeqNum], %[Page], %[Label], %[FirstLine].");
  EXPECT_EQ(expander_->TakeUnknownMacroWarning(), u"");
  TitleTemplate known;
  expander_->RegisterMacros(known, kAllMacros);
  expander_->ParseTemplate(known, u"%[HierIndex] %[title]");
  EXPECT_EQ(expander_->TakeUnknownMacroWarning(), u"");
}

TEST_F(MacroExpansion, EnvironmentVariables) {
  ::setenv("ZELTA_MACRO_TEST", "from process", 1);
  EXPECT_EQ(Expand(u"%[Env:ZELTA_MACRO_TEST]|%[Env:ZELTA_MACRO_UNSET]|%[Env]", {{1}}),
            (Texts{u"from process||"}));
  ::unsetenv("ZELTA_MACRO_TEST");
}

TEST_F(MacroExpansion, OnlyUsedValuesAreComputed) {
  TitleTemplate t;
  expander_->RegisterMacros(t, kAllMacros);
  expander_->ParseTemplate(t, u"%[Page]");
  EXPECT_TRUE(expander_->Uses(MacroId::kPage));
  EXPECT_FALSE(expander_->Uses(MacroId::kHierIndex));
  expander_->ParseTemplate(t, u"%[time]");
  EXPECT_TRUE(expander_->Uses(MacroId::kDate));  // Date and Time share one flag
}

TEST(FirstLineMacro, TakesTheHighestLineNotAboveTheLimit) {
  CoreHost host;
  PdfSpec layout;
  layout.pages.resize(2);
  layout.pages[1].text = "Chapter Two";
  layout.outline = {Mark("one", 0), Mark("two", 1)};
  auto document = host.Open(layout);
  TitleMacroExpander expander(&host.App(), document.Get(), platform::EnvironmentSources{"", ""});
  TitleTemplate below, skipped;
  expander.RegisterMacros(below, kAllMacros);
  expander.RegisterMacros(skipped, kAllMacros);
  expander.ParseTemplate(below, u"[%[FirstLine]]");
  // The text stands 72 points below the top: a limit 100 points down passes it.
  expander.ParseTemplate(skipped, u"[%[FirstLine:100pt]]");
  std::u16string out;
  expander.SetBookmark(BookmarkAt(document.Get(), {2}).Get());
  below.Render(out);
  EXPECT_EQ(out, u"[Chapter Two]");
  skipped.Render(out);
  EXPECT_EQ(out, u"[]");
  expander.SetBookmark(BookmarkAt(document.Get(), {1}).Get());  // a page without text
  below.Render(out);
  EXPECT_EQ(out, u"[]");
}

TEST(FirstLineMacro, LineChoiceByTops) {
  auto ch = [](int32_t line, double top) {
    zelta::PageTextChar c{};
    c.line = line;
    c.top = top;
    c.bottom = top - 10;
    return c;
  };
  // Line 1 is the highest under 700; line 2 ties with it and comes later in text order.
  const std::vector<zelta::PageTextChar> chars{ch(0, 750), ch(0, 705), ch(1, 690),
                                               ch(1, 695), ch(2, 695), ch(3, 100)};
  EXPECT_EQ(LineBelow(chars.data(), static_cast<int32_t>(chars.size()), 700), 1);
  EXPECT_EQ(LineBelow(chars.data(), static_cast<int32_t>(chars.size()), 800), 0);
  EXPECT_EQ(LineBelow(chars.data(), static_cast<int32_t>(chars.size()), 50), -1);
  EXPECT_EQ(LineBelow(nullptr, 0, 800), -1);
}

// The help texts `zelta macros` prints come from the string table: they must name every
// macro, and for each tool exactly the macros its mask offers.
TEST(MacroHelp, NamesEveryMacroAndEachToolsOwnSet) {
  CoreHost host;
  const std::u16string all = host.Plugin().LoadString(u"bookmarksPlugin.help.macros");
  for (const MacroInfo& macro : Macros())
    EXPECT_NE(all.find(u"%[" + std::u16string(macro.name)), std::u16string::npos)
        << std::string(macro.name.begin(), macro.name.end());
  const std::pair<std::u16string, uint32_t> tools[] = {
      {u"ATB", kAllMacros}, {u"BND", kNamedDestMacros}, {u"BENP", kEveryNthPageMacros}};
  for (const auto& [tool, mask] : tools) {
    const std::u16string text = host.Plugin().LoadString(u"bookmarksPlugin.help.macros." + tool);
    for (const MacroInfo& macro : Macros()) {
      const bool named =
          text.find(u"%[" + std::u16string(macro.name) + u"]") != std::u16string::npos;
      EXPECT_EQ(named, (mask & macro.bit) != 0)
          << std::string(tool.begin(), tool.end()) << " "
          << std::string(macro.name.begin(), macro.name.end());
    }
  }
}

}  // namespace
}  // namespace bm::testing
