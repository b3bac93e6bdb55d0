// Colour text as the module's option readers and the host's colour object read it: every form,
// read the same way by both, and text both refuse.
#include "framework/color_text.h"

#include <gtest/gtest.h>

#include <string>

#include "zelta/app/host_color.h"

namespace bm {
namespace {

struct Reading {
  bool read = false;
  uint32_t packed = 0;
  bool none = false;  // the module's "no colour"; the host reads "N" as the packed value 0
  bool operator==(const Reading&) const = default;
};

Reading Packed(uint32_t packed) { return {true, packed, false}; }
constexpr Reading kNone{true, 0, true};
constexpr Reading kRefused{};

Reading Module(std::u16string_view text) {
  auto color = ParseColorText(text);
  return color ? Reading{true, color->packed, color->none} : kRefused;
}

Reading Host(std::u16string_view text) {
  auto packed = zelta::app::ParseHostColor(text);
  return packed ? Packed(*packed) : kRefused;
}

std::string Shown(std::u16string_view text) {
  std::string out;
  for (char16_t c : text)
    out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                 : "\\u" + std::to_string(static_cast<unsigned>(c));
  return out;
}

TEST(ColorText, ModuleAndHostReadEveryForm) {
  using namespace std::string_literals;
  const struct {
    std::u16string text;
    Reading module, host;
  } cases[] = {
      // "N": no colour.
      {u"N", kNone, Packed(0)},
      {u" n\t", kNone, Packed(0)},
      {u"none", kRefused, kRefused},
      // Hexadecimal.
      {u"#F00", Packed(0xFFFF0000u), Packed(0xFFFF0000u)},
      {u"#abc", Packed(0xFFAABBCCu), Packed(0xFFAABBCCu)},
      {u" #00ff00 ", Packed(0xFF00FF00u), Packed(0xFF00FF00u)},
      {u"#80112233", Packed(0x80112233u), Packed(0x80112233u)},
      {u"#00000000", Packed(0), Packed(0)},
      {u"#", kRefused, kRefused},
      {u"#1234", kRefused, kRefused},
      {u"#12345", kRefused, kRefused},
      {u"#FFFFFFFFF", kRefused, kRefused},
      {u"#GG0000", kRefused, kRefused},
      {u"#12 34", kRefused, kRefused},
      {u"# fff", kRefused, kRefused},
      {u"#+fff", kRefused, kRefused},
      {u"#0x1", kRefused, kRefused},
      // rgbd 0-255, rgb 0-1, Gray 0-1, cmyk 0-1: clamped, rounded half up.
      {u"rgbd(1, 2, 300)", Packed(0xFF0102FFu), Packed(0xFF0102FFu)},
      {u"rgbd(-5,127.5,1e300)", Packed(0xFF0080FFu), Packed(0xFF0080FFu)},
      {u"RGBD ( 1 ,2 , 3 )", Packed(0xFF010203u), Packed(0xFF010203u)},
      {u"RGB(1,0,0.5)", Packed(0xFFFF0080u), Packed(0xFFFF0080u)},
      {u"rgb(.5,5.,1e-1)", Packed(0xFF80FF1Au), Packed(0xFF80FF1Au)},
      {u"Gray(0)", Packed(0xFF000000u), Packed(0xFF000000u)},
      {u"gray(0.5)", Packed(0xFF808080u), Packed(0xFF808080u)},
      {u"cmyk(0,1,1,0)", Packed(0xFFFF0000u), Packed(0xFFFF0000u)},
      {u"CMYK(0,0,0,0.5)", Packed(0xFF808080u), Packed(0xFF808080u)},
      {u"rgb(1,2)", kRefused, kRefused},
      {u"rgb(1,2,3,4)", kRefused, kRefused},
      {u"rgb()", kRefused, kRefused},
      {u"rgb(,,)", kRefused, kRefused},
      {u"rgb(1,2,3", kRefused, kRefused},
      {u"rgb 1,2,3)", kRefused, kRefused},
      {u"rgb(1,2,3))", kRefused, kRefused},
      {u"rgb(1;2;3)", kRefused, kRefused},
      {u"rgba(1,0,0,1)", kRefused, kRefused},
      {u"hsl(0,1,0.5)", kRefused, kRefused},
      {u"rgbd(1,2,nan)", kRefused, kRefused},
      {u"gray(inf)", kRefused, kRefused},
      {u"rgbd(1e400,0,0)", kRefused, kRefused},
      {u"rgbd(1 2,3,4)", kRefused, kRefused},
      {u"gray(5e)", kRefused, kRefused},
      // Where the two disagree today.
      {u"rgbd(+255,0,0)", Packed(0xFFFF0000u), kRefused},
      {u"rgbd(0x10,0,0)", Packed(0xFF100000u), kRefused},
      {u"gray(1e-400)", Packed(0xFF000000u), kRefused},
      {u"rgbd(\v1,0,0)", Packed(0xFF010000u), kRefused},
      {u"rgbd(1\0junk,0,0)"s, Packed(0xFF010000u), kRefused},
      // Colour names, in any case.
      {u"red", Packed(0xFFFF0000u), kRefused},
      {u"  Navy ", Packed(0xFF000080u), kRefused},
      {u"DarkSlateGrey", Packed(0xFF2F4F4Fu), kRefused},
      {u"rebeccapurple", Packed(0xFF663399u), kRefused},
      {u"reddish", kRefused, kRefused},
      // No text, and text beyond ASCII.
      {u"", kRefused, kRefused},
      {u"   ", kRefused, kRefused},
      {u"#\u00E9\u00E9\u00E9", kRefused, kRefused},
      {u"red\u00A0", kRefused, kRefused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text));
    EXPECT_EQ(Module(c.text), c.module);
    EXPECT_EQ(Host(c.text), c.host);
  }
}

TEST(ColorText, StoredTextReadsBackAsTheSameColour) {
  EXPECT_EQ(ColorText(0xFF0102FFu), u"rgbd(1,2,255)");
  EXPECT_EQ(ColorText(0x80112233u), u"#80112233");
  for (uint32_t packed : {0xFF000000u, 0xFFFFFFFFu, 0xFF7F8081u, 0x00000000u, 0x7FABCDEFu})
    EXPECT_EQ(Module(ColorText(packed)), Packed(packed)) << std::hex << packed;
}

}  // namespace
}  // namespace bm
