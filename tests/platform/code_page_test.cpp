// The ANSI code page: the locale's character set with C/POSIX counted as UTF-8, unless
// ZELTA_ANSI_CODEPAGE names a converter.
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace bm::platform {
namespace {

// Sets one environment variable for a scope (unset for null) and puts it back afterwards.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvScope() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(AnsiCodePage, LocaleCharsetWithCAsUtf8UnlessNamed) {
  const struct {
    const char* locale;
    const char* chosen;
    bool utf8;
  } cases[] = {{"C", nullptr, true},
               {"POSIX", nullptr, true},
               {"C.utf8", nullptr, true},
               {"C", "windows-1252", false},
               {"C", "utf8", true}};
  for (const auto& c : cases) {
    EnvScope locale("LC_ALL", c.locale);
    EnvScope chosen("ZELTA_ANSI_CODEPAGE", c.chosen);
    const std::string name = AnsiCodePageName();
    if (c.chosen) {
      EXPECT_EQ(name, c.chosen);
    }
    EXPECT_EQ(IsUtf8CodePage(name), c.utf8) << c.locale << " " << name;
  }
  std::u16string text;
  std::string error;
  EXPECT_TRUE(DecodeCodePage("ISO-8859-1", "caf\xE9", &text, &error));
  EXPECT_EQ(text, u"caf\u00E9");
  EXPECT_FALSE(DecodeCodePage("no-such-charset", "x", &text, &error));
  EXPECT_NE(error.find("no-such-charset"), std::string::npos);
}

}  // namespace
}  // namespace bm::platform
