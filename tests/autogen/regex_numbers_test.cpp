// Repeat counts and back-reference numbers too long for the standard library's compiler (it
// overflows reading them) are refused by both regular-expression wrappers before compiling.
#include <gtest/gtest.h>

#include "autogen/text_regex.h"
#include "support/bounded_regex.h"

namespace bm {
namespace {

TEST(RegexNumbers, OversizedCountsAndReferencesAreRefusedByBothWrappers) {
  using namespace std::regex_constants;
  const struct {
    std::u16string pattern;
    std::optional<int> bounded;  // BoundedRegex's error code; nullopt when it compiles
  } cases[] = {
      {u"a{99999999999999999999}", error_badbrace},
      {u"a{1,99999999999999999999}", error_badbrace},
      {u"a{55555555555555555555,.3}", error_badbrace},  // found by fuzzing: not even a valid brace
      {u"(a)\\99999999999999999999", error_backref},
      {u"a{2,3}[{12345678901]x\\\\12345678901",
       std::nullopt},  // classes and escaped backslashes hold none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern.begin(), c.pattern.end()));
    BoundedRegex bounded;
    EXPECT_EQ(bounded.Compile(c.pattern, false), c.bounded);
    TextRegex text;
    EXPECT_EQ(text.Compile(c.pattern, false), c.bounded ? zelta::E_INVALIDARG : zelta::S_OK);
    if (c.bounded) {
      EXPECT_NE(text.Error().find(u"invalid"), std::u16string::npos);
    }
  }
}

}  // namespace
}  // namespace bm
