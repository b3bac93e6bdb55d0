// Colour text as the module's option readers and the host's colour object read it: every form,
// read the same way by both, text both refuse, and what the readers of options say of it.
#include "framework/color_text.h"

#include <gtest/gtest.h>

#include <string>

#include "autogen/level_options.h"
#include "framework/cab_access.h"
#include "tests/harness/core_host.h"
#include "toc/toc_level_format.h"
#include "zelta/app/cab/cab_json.h"
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

Reading Module(zelta::IColorService* colors, std::u16string_view text) {
  auto color = ParseColorText(colors, text);
  return color ? Reading{true, color->packed, color->none} : kRefused;
}

Reading Host(std::u16string_view text) {
  auto packed = zelta::app::ParseHostColor(text);
  return packed ? Packed(*packed) : kRefused;
}

zelta::ComPtr<zelta::ICabItem> Element(zelta::ICabItem* array, int32_t index) {
  zelta::ComPtr<zelta::ICabItem> element;
  array->GetItemAt(index, element.Put());
  return element;
}

std::string Shown(std::u16string_view text) {
  std::string out;
  for (char16_t c : text)
    out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                 : "\\u" + std::to_string(static_cast<unsigned>(c));
  return out;
}

class ColorTextReading : public ::testing::Test {
 protected:
  testing::CoreHost host_;
  zelta::ComPtr<zelta::IColorService> colors_ = HostColors(&host_.App());
};

TEST_F(ColorTextReading, ModuleAndHostReadEveryForm) {
  using namespace std::string_literals;
  ASSERT_TRUE(colors_);
  const struct {
    std::u16string text;
    Reading want;
  } cases[] = {
      // "N": no colour.
      {u"N", kNone},
      {u" n\t", kNone},
      {u"none", kRefused},
      // Hexadecimal.
      {u"#F00", Packed(0xFFFF0000u)},
      {u"#abc", Packed(0xFFAABBCCu)},
      {u" #00ff00 ", Packed(0xFF00FF00u)},
      {u"#80112233", Packed(0x80112233u)},
      {u"#00000000", Packed(0)},
      {u"#", kRefused},
      {u"#1234", kRefused},
      {u"#12345", kRefused},
      {u"#FFFFFFFFF", kRefused},
      {u"#GG0000", kRefused},
      {u"#12 34", kRefused},
      {u"# fff", kRefused},
      {u"#+fff", kRefused},
      {u"#0x1", kRefused},
      // rgbd 0-255, rgb 0-1, Gray 0-1, cmyk 0-1: clamped, rounded half up.
      {u"rgbd(1, 2, 300)", Packed(0xFF0102FFu)},
      {u"rgbd(-5,127.5,1e300)", Packed(0xFF0080FFu)},
      {u"RGBD ( 1 ,2 , 3 )", Packed(0xFF010203u)},
      {u"RGB(1,0,0.5)", Packed(0xFFFF0080u)},
      {u"rgb(.5,5.,1e-1)", Packed(0xFF80FF1Au)},
      {u"Gray(0)", Packed(0xFF000000u)},
      {u"gray(0.5)", Packed(0xFF808080u)},
      {u"cmyk(0,1,1,0)", Packed(0xFFFF0000u)},
      {u"CMYK(0,0,0,0.5)", Packed(0xFF808080u)},
      {u"rgb(1,2)", kRefused},
      {u"rgb(1,2,3,4)", kRefused},
      {u"rgb()", kRefused},
      {u"rgb(,,)", kRefused},
      {u"rgb(1,2,3", kRefused},
      {u"rgb 1,2,3)", kRefused},
      {u"rgb(1,2,3))", kRefused},
      {u"rgb(1;2;3)", kRefused},
      {u"rgba(1,0,0,1)", kRefused},
      {u"hsl(0,1,0.5)", kRefused},
      {u"rgbd(1,2,nan)", kRefused},
      {u"gray(inf)", kRefused},
      {u"rgbd(1e400,0,0)", kRefused},
      {u"rgbd(1 2,3,4)", kRefused},
      {u"gray(5e)", kRefused},
      // Components are decimal numbers with an optional sign; nothing after a NUL is dropped.
      {u"rgbd(+255,0,0)", Packed(0xFFFF0000u)},
      {u"rgbd(+-1,0,0)", kRefused},
      {u"rgbd(+ 1,0,0)", kRefused},
      {u"rgbd(0x10,0,0)", kRefused},
      {u"gray(1e-400)", kRefused},
      {u"rgbd(\v1,0,0)", kRefused},
      {u"rgbd(1\0junk,0,0)"s, kRefused},
      // Colour names, in any case.
      {u"red", Packed(0xFFFF0000u)},
      {u"  Navy ", Packed(0xFF000080u)},
      {u"DarkSlateGrey", Packed(0xFF2F4F4Fu)},
      {u"rebeccapurple", Packed(0xFF663399u)},
      {u"reddish", kRefused},
      // No text, and text beyond ASCII.
      {u"", kRefused},
      {u"   ", kRefused},
      {u"#\u00E9\u00E9\u00E9", kRefused},
      {u"red\u00A0", kRefused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Shown(c.text));
    EXPECT_EQ(Module(colors_.Get(), c.text), c.want);
    EXPECT_EQ(Host(c.text), (Reading{c.want.read, c.want.packed, false}));
  }
  EXPECT_EQ(Module(nullptr, u"#F00"), kRefused);
}

TEST_F(ColorTextReading, StoredTextReadsBackAsTheSameColour) {
  EXPECT_EQ(ColorText(0xFF0102FFu), u"rgbd(1,2,255)");
  EXPECT_EQ(ColorText(0x80112233u), u"#80112233");
  for (uint32_t packed : {0xFF000000u, 0xFFFFFFFFu, 0xFF7F8081u, 0x00000000u, 0x7FABCDEFu})
    EXPECT_EQ(Module(colors_.Get(), ColorText(packed)), Packed(packed)) << std::hex << packed;
}

// The readers of options name the field and the text they could not read, and keep "N" apart
// from a transparent black.
TEST_F(ColorTextReading, OptionReadersNameTheColourTheyCannotRead) {
  auto options = host_.Plugin().CreateCab(u"AGBOperationOptionsRoot");
  ASSERT_TRUE(options);
  zelta::ComPtr<zelta::ICabItem> agb;
  options->GetRoot(agb.Put());
  std::string why;
  ASSERT_EQ(zelta::app::CabFromJson(agb.Get(), nlohmann::json::parse(R"({"Levels": [
                {"Appearance": {"Color": " n "}, "LevelDescription": {"Color": "#00000000"}},
                {"Appearance": {"Color": "Red"}}]})"),
                                    &why),
            zelta::S_OK)
      << why;
  GenerationOptions read;
  std::u16string error;
  ASSERT_EQ(ReadGenerationOptions(agb.Get(), colors_.Get(), &read, &error), zelta::S_OK);
  ASSERT_EQ(read.levels.size(), 2u);
  EXPECT_FALSE(read.levels[0].appearance.hasColor);
  EXPECT_EQ(read.levels[0].description.color, 0u);
  EXPECT_TRUE(read.levels[1].appearance.hasColor);
  EXPECT_EQ(read.levels[1].appearance.color, 0xFFFF0000u);

  CabItem(Element(CabItem(agb.Get(), u"Levels").Get(), 1).Get(), u"Appearance")
      ->SetText(u"Color", u"rgbd(0x10,0,0)", -1);
  EXPECT_EQ(ReadGenerationOptions(agb.Get(), colors_.Get(), &read, &error), zelta::E_INVALIDARG);
  EXPECT_EQ(error, u"Levels[1]: Color: not a colour: \"rgbd(0x10,0,0)\"");
  EXPECT_EQ(ReadGenerationOptions(agb.Get(), nullptr, &read, &error), zelta::E_POINTER);
  EXPECT_EQ(error, u"Levels[0]: no colour service to read the colours with");

  auto toc = host_.Plugin().CreateCab(u"ToTOCOperationOptionsRoot");
  ASSERT_TRUE(toc);
  zelta::ComPtr<zelta::ICabItem> tocOptions;
  toc->GetRoot(tocOptions.Put());
  ASSERT_EQ(zelta::app::CabFromJson(tocOptions.Get(), nlohmann::json::parse(R"({"Levels": [
                {"FColor": "N", "SColor": "#7FFF0000"}, {"FColor": "navy", "SColor": "blau"}]})"),
                                    &why),
            zelta::S_OK)
      << why;
  const auto levels = CabItem(tocOptions.Get(), u"Levels");
  EXPECT_TRUE(ReadLevelFormats(levels.Get(), colors_.Get(), &error).empty());
  EXPECT_EQ(error, u"Levels[1].SColor \"blau\" is not a colour");
  Element(levels.Get(), 1)->SetText(u"SColor", u"N", -1);
  error.clear();
  auto formats = ReadLevelFormats(levels.Get(), colors_.Get(), &error);
  ASSERT_EQ(formats.size(), 2u) << std::string(error.begin(), error.end());
  EXPECT_FALSE(formats[0].hasFill);
  EXPECT_TRUE(formats[0].hasStroke);
  EXPECT_EQ(formats[0].stroke, 0x7FFF0000u);
  EXPECT_EQ(formats[1].fill, 0xFF000080u);
  EXPECT_FALSE(formats[1].hasStroke);
}

}  // namespace
}  // namespace bm
