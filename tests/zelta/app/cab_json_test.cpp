// Options as JSON and the command line's --set PATH=VALUE.
#include "zelta/app/cab/cab_json.h"

#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/cab/cab.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/app/cab/cab_value_names.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

using nlohmann::json;

class CabJsonTest : public ::testing::Test {
 protected:
  // The root of a parameter Cab made from the real template.
  ComPtr<ICabItem> Root(const char16_t* rootId) {
    std::string bytes = zelta::testing::ReadFile(ZELTA_SOURCE_DIR "/resources/cab_template.xml");
    ComPtr<Cab> cab;
    EXPECT_EQ(Cab::Create(base::StrictUtf16(bytes).value_or(u""), rootId, &cab), S_OK);
    return cab ? ComPtr<ICabItem>(cab->Root()) : nullptr;
  }
  ComPtr<ICabItem> Options(const char16_t* rootId) {
    ComPtr<ICabItem> options;
    if (auto root = Root(rootId)) root->GetItem(u"Options", options.Put());
    return options;
  }
  std::string FromJson(ICabItem* item, const char* text) {
    std::string error;
    HRESULT hr = CabFromJson(item, json::parse(text), &error);
    return Succeeded(hr) ? "ok" : error;
  }
  std::string Set(ICabItem* item, std::string_view path, std::string_view value) {
    std::string error;
    HRESULT hr = CabSetPath(item, path, value, &error);
    EXPECT_EQ(Succeeded(hr), error.empty()) << error;
    return Succeeded(hr) ? "ok" : error;
  }
};

TEST_F(CabJsonTest, WritesDictionariesArraysAndScalarsButNoHostObjects) {
  // Input and Output are lists of host objects: they have no JSON form. Fields keep the
  // template's order.
  EXPECT_EQ(CabToJson(Root(u"ATBOperationRoot").Get()),
            nlohmann::ordered_json::parse(
                R"({"Options": {"Prefix": "", "Suffix": "", "StartLevel": 1, "Flags": 0}})"));
  ComPtr<ICabItem> options = Options(u"VBOperationRoot");
  ASSERT_TRUE(options);
  EXPECT_EQ(nlohmann::json(CabToJson(options.Get())), json::parse(R"({"Flags": 0})"));
  EXPECT_EQ(nlohmann::json(CabToJson(nullptr)), json());
}

TEST_F(CabJsonTest, ReadsNestedValuesAndKeepsLeftOutItems) {
  ComPtr<ICabItem> options = Options(u"AGBOperationRoot");
  options->SetText(u"PresetID", u"kept", -1);
  ASSERT_EQ(FromJson(options.Get(), R"J({
      "Flags": 5,
      "PagesRange": {"Type": 1, "Text": "1-5, 8", "Array": [3, 1], "Reversed": true},
      "Levels": [{"Index": 0, "LevelDescription": {"FontNames": ["Times"], "FontSize": 14}},
                 {"Index": 1, "Appearance": {"Color": "rgbd(255,0,0)", "Expand": true}}]})J"),
            "ok");
  json out = CabToJson(options.Get());
  EXPECT_EQ(out["Flags"], 5);
  EXPECT_EQ(out["PresetID"], "kept");
  EXPECT_EQ(out["PagesRange"]["Text"], "1-5, 8");
  EXPECT_EQ(out["PagesRange"]["Array"], json::parse("[3, 1]"));
  EXPECT_EQ(out["PagesRange"]["Filter"], 1);  // left out: default
  ASSERT_EQ(out["Levels"].size(), 2u);
  EXPECT_EQ(out["Levels"][0]["LevelDescription"]["FontNames"], json::parse(R"(["Times"])"));
  EXPECT_EQ(out["Levels"][0]["LevelDescription"]["FontSize"], 14.0);
  EXPECT_EQ(out["Levels"][0]["Formatting"]["TitleLength"], 256);
  EXPECT_EQ(out["Levels"][1]["Appearance"]["Expand"], true);
  EXPECT_EQ(out["Levels"][1]["Appearance"]["DestFlags"], 12);
  // An array takes exactly the given elements.
  ASSERT_EQ(FromJson(options.Get(), R"({"Levels": [{}]})"), "ok");
  EXPECT_EQ(CabToJson(options.Get())["Levels"].size(), 1u);
}

TEST_F(CabJsonTest, ErrorsNameTheDottedPathAndLeaveTheTargetUnchanged) {
  ComPtr<ICabItem> options = Options(u"AGBOperationRoot");
  json before = CabToJson(options.Get());
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": "3"})"),
            "Options.Flags: expected an integer, got string");
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": 1, "Bogus": 1})"),
            "Options.Bogus: unknown option (the options here are Levels, PagesRange, Flags, "
            "StopWordsData, PresetID)");
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": 4294967296})"),
            "Options.Flags: 4294967296 is outside the 32-bit integer range");
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": 2147483648})"),
            "Options.Flags: 2147483648 is outside the 32-bit integer range");
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": 1.5})"),
            "Options.Flags: expected an integer, got 1.5");
  EXPECT_EQ(FromJson(options.Get(), R"({"Levels": [{}, {"Appearance": {"Expand": 1}}]})"),
            "Options.Levels[1].Appearance.Expand: expected true or false, got number");
  EXPECT_EQ(FromJson(options.Get(), R"({"PagesRange": []})"),
            "Options.PagesRange: expected an object, got array");
  EXPECT_EQ(FromJson(options.Get(), R"({"StopWordsData": {"StopWords": "a"}})"),
            "Options.StopWordsData.StopWords: expected an array, got string");
  EXPECT_EQ(FromJson(options.Get(), R"({"Levels": [{"Formatting": {"Prefix": null}}]})"),
            "Options.Levels[0].Formatting.Prefix: expected a string, got null");
  EXPECT_EQ(nlohmann::json(CabToJson(options.Get())), before);
  // Integral numbers in float form and negative flag words are integers.
  EXPECT_EQ(FromJson(options.Get(), R"({"Flags": -2147483648, "PagesRange": {"Type": 2.0}})"),
            "ok");
  EXPECT_EQ(CabToJson(options.Get())["Flags"], INT32_MIN);
}

TEST_F(CabJsonTest, HostObjectsCannotBeSet) {
  ComPtr<ICabItem> benp = Root(u"BENPOperationRoot");
  EXPECT_EQ(FromJson(benp.Get(), R"({"Input": 1})"), "Input: a host object cannot be set");
  EXPECT_EQ(FromJson(Root(u"VBOperationRoot").Get(), R"({"Input": []})"),
            "Input: a list of host objects cannot be set");
  EXPECT_EQ(Set(benp.Get(), "Output", "x"), "Output: a host object cannot be set");
}

TEST_F(CabJsonTest, SetPathConvertsTextByTheItemsType) {
  ComPtr<ICabItem> options = Options(u"BENPOperationRoot");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Text", "1-10, 12-"), "ok");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Type", "1"), "ok");
  EXPECT_EQ(Set(options.Get(), "Flags", "0x80000001"), "ok");
  EXPECT_EQ(Set(options.Get(), "Step", "-7"), "ok");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Reversed", "TRUE"), "ok");
  EXPECT_EQ(Set(options.Get(), "PagesRange.CustomRect.top", "12.5e1"), "ok");
  EXPECT_EQ(Set(options.Get(), "TitleText", "Seite %[Page] \xC3\xA4"), "ok");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Array", "[4, 2]"), "ok");
  json out = CabToJson(options.Get());
  EXPECT_EQ(out["PagesRange"]["Text"], "1-10, 12-");
  EXPECT_EQ(out["PagesRange"]["Type"], 1);
  EXPECT_EQ(out["Flags"], static_cast<int32_t>(0x80000001u));
  EXPECT_EQ(out["Step"], -7);
  EXPECT_EQ(out["PagesRange"]["Reversed"], true);
  EXPECT_EQ(out["PagesRange"]["CustomRect"]["top"], 125.0);
  EXPECT_EQ(out["TitleText"], "Seite %[Page] \xC3\xA4");
  EXPECT_EQ(out["PagesRange"]["Array"], json::parse("[4, 2]"));
  EXPECT_EQ(Set(options.Get(), "PagesRange.Reversed", "0"), "ok");
  EXPECT_EQ(Set(options.Get(), "PagesRange", R"({"Filter": 3})"), "ok");
  out = CabToJson(options.Get());
  EXPECT_EQ(out["PagesRange"]["Filter"], 3);
  EXPECT_EQ(out["PagesRange"]["Text"], "1-10, 12-");  // left out: kept
  EXPECT_EQ(out["PagesRange"]["Reversed"], false);
}

TEST_F(CabJsonTest, SetPathAddressesArrayElements) {
  ComPtr<ICabItem> options = Options(u"AGBOperationRoot");
  EXPECT_EQ(Set(options.Get(), "Levels[0].Flags", "1"),
            "Options.Levels: has 0 elements, no element 0");
  EXPECT_EQ(Set(options.Get(), "Levels", "[{}, {}]"), "ok");
  EXPECT_EQ(Set(options.Get(), "Levels[1].Formatting.TitleLength", "80"), "ok");
  EXPECT_EQ(Set(options.Get(), "Levels.0.Appearance.Color", "Gray(0.5)"), "ok");
  EXPECT_EQ(Set(options.Get(), "Levels[1].LevelDescription.FontNames", R"(["A", "B"])"), "ok");
  EXPECT_EQ(Set(options.Get(), "Levels[1].LevelDescription.FontNames[1]", "C"), "ok");
  json out = CabToJson(options.Get());
  EXPECT_EQ(out["Levels"][1]["Formatting"]["TitleLength"], 80);
  EXPECT_EQ(out["Levels"][0]["Appearance"]["Color"], "Gray(0.5)");
  EXPECT_EQ(out["Levels"][1]["LevelDescription"]["FontNames"], json::parse(R"(["A", "C"])"));
  EXPECT_EQ(Set(options.Get(), "Levels[1].Formatting", R"({"TitleLength": "x"})"),
            "Options.Levels[1].Formatting.TitleLength: expected an integer, got string");
}

TEST_F(CabJsonTest, SetPathErrorsNameThePath) {
  ComPtr<ICabItem> options = Options(u"BENPOperationRoot");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Txt", "1"),
            "Options.PagesRange.Txt: unknown option (the options here are Type, Filter, Text, "
            "Reversed, Array, Custom, CustomRect, Current, CurrentRect)");
  EXPECT_EQ(Set(options.Get(), "Step", "ten"),
            "Options.Step: expected an integer, got 'ten' (decimal or 0x hexadecimal, 32 bits)");
  EXPECT_EQ(
      Set(options.Get(), "Step", "2147483648"),
      "Options.Step: expected an integer, got '2147483648' (decimal or 0x hexadecimal, 32 bits)");
  EXPECT_EQ(Set(options.Get(), "Step", "0x100000000").substr(0, 14), "Options.Step: ");
  EXPECT_EQ(Set(options.Get(), "Step", ""),
            "Options.Step: expected an integer, got '' (decimal or 0x hexadecimal, 32 bits)");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Reversed", "yes"),
            "Options.PagesRange.Reversed: expected true or false, got 'yes'");
  EXPECT_EQ(Set(options.Get(), "PagesRange.CustomRect.top", "1e999"),
            "Options.PagesRange.CustomRect.top: expected a number, got '1e999'");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Array", "[1,"),
            "Options.PagesRange.Array: expected an array, got '[1,' as JSON text: not valid JSON "
            "at line 1, column 4");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Array", "[1e400]"),
            "Options.PagesRange.Array: expected an array, got '[1e400]' as JSON text: not valid "
            "JSON: a number is too large");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Array", "[\"\xC3x\"]"),
            "Options.PagesRange.Array: the value is not valid UTF-8");
  EXPECT_EQ(Set(options.Get(), "Step.Inner", "1"), "Options.Step: has no part 'Inner'");
  EXPECT_EQ(Set(options.Get(), "PagesRange.Array.x", "1"),
            "Options.PagesRange.Array: is a list; address its elements by index, not 'x'");
  EXPECT_EQ(Set(options.Get(), "TitleText", "\xFF"),
            "Options.TitleText: the value is not valid UTF-8");
  for (const char* bad :
       {"", ".", "Step.", ".Step", "Step..x", "Levels[", "Levels[]", "Levels[0]x"})
    EXPECT_NE(Set(options.Get(), bad, "1").find("is not an option path"), std::string::npos) << bad;
  EXPECT_EQ(CabToJson(options.Get())["Step"], 1);  // nothing was changed by the failures
}

// The template names flag bits and enumeration values; --set and options files take the names,
// and the names read back the same value.
TEST_F(CabJsonTest, NamedValuesFromTheTemplate) {
  ComPtr<ICabItem> cbc = Options(u"CBCOperationRoot");
  ComPtr<ICabItem> flags;
  ASSERT_EQ(cbc->GetItem(u"Flags", flags.Put()), S_OK);
  const CabItemDesc* desc = DescOf(flags.Get());
  ASSERT_NE(desc, nullptr);
  struct Case {
    const char* text;
    int32_t value;
    const char* named;  // how the value reads back
  };
  const Case cases[] = {
      {"upper", 0x1, "upper"},
      {"sentence+excludedWords+selected", 0x214, "sentence+excludedWords+selected"},
      {"upper+lower", 0x2, "lower"},  // one value of a field replaces another
      {"selected|0x1000", 0x1200, "title+selected+noSubBookmarks"},
      {"0x8000+upper", 0x8001, "upper+0x8000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Set(cbc.Get(), "Flags", c.text), "ok") << c.text;
    int32_t value = -1;
    cbc->GetInt(u"Flags", 0, &value);
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(NamedIntText(*desc, value), c.named) << c.text;
  }
  EXPECT_EQ(FromJson(cbc.Get(), R"({"Flags": "lower+document"})"), "ok");
  EXPECT_EQ(CabToJson(cbc.Get())["Flags"], 0x102);
  EXPECT_NE(Set(cbc.Get(), "Flags", "Upper").find("'Upper' is not a name"), std::string::npos);
  EXPECT_NE(FromJson(cbc.Get(), R"({"Flags": ""})").find("the names are title, upper"),
            std::string::npos);
  // An item without names keeps refusing text.
  EXPECT_EQ(Set(Options(u"SBOperationRoot").Get(), "Level", "top"),
            "Options.Level: expected an integer, got 'top' (decimal or 0x hexadecimal, 32 bits)");
}

}  // namespace
}  // namespace zelta::app
