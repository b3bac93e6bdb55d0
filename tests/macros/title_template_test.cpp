// The template syntax and the parameter parsers, without a document.
#include "macros/title_template.h"

#include <gtest/gtest.h>

#include "macros/macro_set.h"

namespace bm {
namespace {

// Renders every macro as "<name|parameter>" so the tests see what the parser cut.
class EchoHandler : public TitleMacroHandler {
 public:
  void Evaluate(std::u16string_view parameter, bool hasParameter,
                std::u16string& output) const override {
    output = u"<" + std::u16string(parameter) + (hasParameter ? u"|p" : u"") + u">";
  }
};

std::u16string Render(std::u16string_view text, bool registerTitle = true) {
  static const EchoHandler echo;
  TitleTemplate t;
  if (registerTitle) t.Register(u"Title", &echo);
  EXPECT_EQ(t.Parse(text), zelta::S_OK);
  std::u16string out;
  EXPECT_EQ(t.Render(out), zelta::S_OK);
  return out;
}

TEST(TitleTemplate, PercentSignsOutsideMacrosFollowTheSyntax) {
  EXPECT_EQ(Render(u"100%"), u"100");  // a trailing "%" is dropped
  EXPECT_EQ(Render(u"50% off"), u"50% off");
  EXPECT_EQ(Render(u"%%"), u"%%");
  EXPECT_EQ(Render(u"%%[Title]"), u"%%[Title]");
  EXPECT_EQ(Render(u"a]b:c["), u"a]b:c[");
  EXPECT_EQ(Render(u""), u"");
}

TEST(TitleTemplate, MacrosAreCutIntoNameAndParameter) {
  EXPECT_EQ(Render(u"A %[Title] B"), u"A <> B");
  EXPECT_EQ(Render(u"%[title]"), u"<>");                   // names ignore case
  EXPECT_EQ(Render(u"%[TITLE:x:%[y]z]"), u"<x:%[y|p>z]");  // the first "]" closes
  EXPECT_EQ(Render(u"%[Title:]"), u"<|p>");
  EXPECT_EQ(Render(u"x%[Title"), u"x<>");  // still open at the end
  EXPECT_EQ(Render(u"x%[Title:abc"), u"x<abc|p>");
  EXPECT_EQ(Render(u"%[Nothing]!"), u"!");    // no handler: empty
  EXPECT_EQ(Render(u"%[]%[:p]end"), u"end");  // tokens without a name vanish
}

TEST(TitleTemplate, RegisteringANameAgainReplacesItsHandler) {
  EchoHandler first, second;
  TitleTemplate t;
  t.Register(u"Title", &first);
  t.Register(u"TITLE", &second);
  ASSERT_EQ(t.Parse(u"%[Title]"), zelta::S_OK);
  ASSERT_EQ(t.Tokens().size(), 1u);
  EXPECT_EQ(t.Tokens()[0].handler, &second);
}

TEST(MacroNumber, ReadsSignDigitsAndReportsWhatItUsed) {
  EXPECT_EQ(ParseMacroNumber(u"10").value, 10);
  EXPECT_EQ(ParseMacroNumber(u"10").used, 2);
  EXPECT_EQ(ParseMacroNumber(u" \t+007x").value, 7);
  EXPECT_EQ(ParseMacroNumber(u" \t+007x").used, 6);
  EXPECT_EQ(ParseMacroNumber(u"-3").value, -3);
  EXPECT_EQ(ParseMacroNumber(u"0").value, 0);
  EXPECT_GE(ParseMacroNumber(u"0").used, 0);
  EXPECT_LT(ParseMacroNumber(u"x").used, 0);
  EXPECT_LT(ParseMacroNumber(u"-").used, 0);
  EXPECT_LT(ParseMacroNumber(u"").used, 0);
  // At most ten significant digits: no overflow, and the rest is left unread.
  const MacroNumber big = ParseMacroNumber(u"123456789012345");
  EXPECT_EQ(big.value, 1234567890);
  EXPECT_EQ(big.used, 10);
}

TEST(MacroNumber, LengthsTurnIntoPoints) {
  EXPECT_DOUBLE_EQ(*ParseLengthInPoints(u"36"), 36.0);
  EXPECT_DOUBLE_EQ(*ParseLengthInPoints(u"0.5in"), 36.0);
  EXPECT_DOUBLE_EQ(*ParseLengthInPoints(u" 25.4 mm "), 72.0);
  EXPECT_DOUBLE_EQ(*ParseLengthInPoints(u"2.54CM"), 72.0);
  EXPECT_FALSE(ParseLengthInPoints(u"abc"));
  EXPECT_FALSE(ParseLengthInPoints(u"12 parsecs"));
  EXPECT_FALSE(ParseLengthInPoints(u"1e999"));
}

TEST(MacroSet, NamesAreFoundWhateverTheirCase) {
  EXPECT_EQ(FindMacro(u"hiertitle"), MacroId::kHierTitle);
  EXPECT_FALSE(FindMacro(u"Titles"));
}

}  // namespace
}  // namespace bm
