// The host's colour text: every form it reads, and text it refuses without changing the
// colour object.
#include "zelta/app/host_color.h"

#include <gtest/gtest.h>

namespace zelta::app {
namespace {

TEST(HostColor, ReadsEveryFormAndRefusesTheRest) {
  const struct {
    std::u16string text;
    std::optional<uint32_t> packed;
  } cases[] = {
      {u"#F00", 0xFFFF0000u},
      {u" #00ff00 ", 0xFF00FF00u},
      {u"#80112233", 0x80112233u},
      {u"rgbd(1, 2, 300)", 0xFF0102FFu},
      {u"RGB(1,0,0.5)", 0xFFFF0080u},
      {u"Gray(0)", 0xFF000000u},
      {u"cmyk(0,1,1,0)", 0xFFFF0000u},
      {u"N", 0u},
      {u"#12 34", std::nullopt},
      {u"#GG0000", std::nullopt},
      {u"rgb(1,2)", std::nullopt},
      {u"rgbd(1,2,nan)", std::nullopt},
      {u"#\u00E9\u00E9\u00E9", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHostColor(c.text), c.packed);

  ComPtr<HostColor> color = MakeCom<HostColor>();
  uint32_t packed = 0;
  ASSERT_EQ(color->Parse(u"#0000FF", 7), S_OK);
  EXPECT_EQ(color->Parse(u"nothing", 7), E_INVALIDARG);
  color->GetPacked(&packed);
  EXPECT_EQ(packed, 0xFF0000FFu);
}

}  // namespace
}  // namespace zelta::app
