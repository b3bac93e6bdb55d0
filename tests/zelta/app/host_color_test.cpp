// The host's colour object: text it refuses leaves the colour it holds. Every form of colour
// text is read in tests/framework/color_text_test.cpp, by the host and the module alike.
#include "zelta/app/host_color.h"

#include <gtest/gtest.h>

namespace zelta::app {
namespace {

TEST(HostColor, RefusedTextKeepsTheColour) {
  ComPtr<HostColor> color = MakeCom<HostColor>();
  uint32_t packed = 0;
  ASSERT_EQ(color->Parse(u"#0000FF", 7), S_OK);
  EXPECT_EQ(color->Parse(u"nothing", 7), E_INVALIDARG);
  color->GetPacked(&packed);
  EXPECT_EQ(packed, 0xFF0000FFu);
}

}  // namespace
}  // namespace zelta::app
