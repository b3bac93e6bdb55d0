// The real options template: every root builds, and the defaults the operations rely on.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/cab_factory.h"
#include "zelta/app/cab_json.h"
#include "zelta/app/cab_text.h"

namespace zelta::app {
namespace {

using nlohmann::json;

const char16_t* kRoots[] = {
    u"AGBOperationRoot", u"VBOperationRoot", u"ToTOCOperationRoot", u"FromTOCOperationRoot",
    u"SBOperationRoot", u"CBCOperationRoot", u"ATBOperationRoot", u"BNDOperationRoot",
    u"FRTOperationRoot", u"BFTOperationRoot", u"BENPOperationRoot", u"BTTFOperationRoot",
    u"PluginRoot", u"AGBOperationOptionsRoot", u"ToTOCOperationOptionsRoot", u"FromTOCOptionsRoot",
    u"ToTOCLevelRoot", u"SBOptionsRoot", u"CBCOptionsRoot", u"ATBOptionsRoot", u"BNDOptionsRoot",
    u"FRTOptionsRoot", u"BFTOptionsRoot", u"BENPOptionsRoot", u"BTTFOptionsRoot"};

class CabTemplateTest : public ::testing::Test {
 protected:
  ComPtr<ICabItem> Root(const char16_t* rootId) {
    ComPtr<ICab> cab;
    EXPECT_EQ(factory_->CreateCab(text_.c_str(), -1, rootId, cab.Put()), S_OK) << Utf16ToUtf8Lossy(rootId);
    ComPtr<ICabItem> root;
    if (cab) cab->GetRoot(root.Put());
    return root;
  }
  static ComPtr<ICabItem> Field(ICabItem* item, const char16_t* name) {
    ComPtr<ICabItem> field;
    if (item) item->GetItem(name, field.Put());
    return field;
  }
  static int32_t Type(ICabItem* item) {
    int32_t type = -1;
    if (item) item->GetType(&type);
    return type;
  }

  std::u16string text_ =
      Utf8ToUtf16(zelta::testing::ReadFile(ZELTA_SOURCE_DIR "/resources/cab_template.xml")).value_or(u"");
  ComPtr<ICabFactory> factory_ = MakeCabFactory();
};

TEST_F(CabTemplateTest, EveryRootBuildsAndRoundTripsThroughJson) {
  ASSERT_FALSE(text_.empty());
  for (const char16_t* rootId : kRoots) {
    ComPtr<ICabItem> root = Root(rootId);
    ASSERT_TRUE(root) << Utf16ToUtf8Lossy(rootId);
    json values = CabToJson(root.Get());
    ASSERT_TRUE(values.is_object());
    ComPtr<ICabItem> other = Root(rootId);
    std::string error;
    EXPECT_EQ(CabFromJson(other.Get(), values, &error), S_OK) << Utf16ToUtf8Lossy(rootId) << ": " << error;
    EXPECT_EQ(json(CabToJson(other.Get())), values);
  }
  ComPtr<ICab> none;
  EXPECT_EQ(factory_->CreateCab(text_.c_str(), -1, u"NoSuchRoot", none.Put()), E_INVALIDARG);
  EXPECT_FALSE(none);
}

TEST_F(CabTemplateTest, OperationRootsHoldTheirInputKindAndOptionsInOrder) {
  ComPtr<ICabItem> atb = Root(u"ATBOperationRoot");
  for (const char16_t* list : {u"Input", u"Output"}) {
    EXPECT_EQ(Type(Field(atb.Get(), list).Get()), kCabArray);
    int32_t count = -1;
    Field(atb.Get(), list)->GetCount(&count);
    EXPECT_EQ(count, 0);
  }
  ComPtr<ICabItem> agb = Root(u"AGBOperationRoot");
  ComPtr<ICabItem> input = Field(agb.Get(), u"Input");
  EXPECT_EQ(Type(input.Get()), kCabUnknown);
  ComPtr<IUnknown> object;
  EXPECT_EQ(input->GetObject(nullptr, object.Put()), S_OK);
  EXPECT_FALSE(object);
  // AGBOperationOptions takes every item of AGBOptions, then PresetID, in template order.
  auto options = CabToJson(Field(agb.Get(), u"Options").Get());
  std::vector<std::string> names;
  for (auto& item : options.items()) names.push_back(item.key());
  EXPECT_EQ(names, (std::vector<std::string>{"Levels", "PagesRange", "Flags", "StopWordsData", "PresetID"}));
}

TEST_F(CabTemplateTest, OptionDefaults) {
  // Array elements get their defaults when inserted: add one to the lists that hold them.
  ComPtr<ICabItem> agb = Root(u"AGBOperationOptionsRoot"), plugin = Root(u"PluginRoot");
  ComPtr<ICabItem> level, preset;
  ASSERT_EQ(Field(agb.Get(), u"Levels")->Insert(-1, level.Put()), S_OK);
  ASSERT_EQ(Field(Field(plugin.Get(), u"ToTOCPresets").Get(), u"Items")->Insert(-1, preset.Put()), S_OK);
  EXPECT_EQ(Type(level.Get()), kCabDictionary);
  OwnedString name;
  level->GetName(name.Put());
  EXPECT_TRUE(name.Empty());  // elements have no name, even when the element item has an id
  EXPECT_EQ(CabToJson(plugin.Get()).size(), 16u);

  const struct {
    ComPtr<ICabItem> root;
    const char* pointer;
    json expected;
  } cases[] = {
      {Root(u"BNDOptionsRoot"), "/EditText", "%[Title]"},
      {Root(u"BENPOptionsRoot"), "/TitleText", "Page %[Page]"},
      {Root(u"BENPOptionsRoot"), "/Step", 1},
      {Root(u"BENPOptionsRoot"), "/PagesRange/Type", -1},
      {Root(u"BENPOptionsRoot"), "/PagesRange/Filter", 1},
      {Root(u"BENPOptionsRoot"), "/PagesRange/Custom", -1},
      {Root(u"BFTOptionsRoot"), "/Separator", 59},
      {Root(u"BFTOptionsRoot"), "/ActionSeparator", 44},
      {Root(u"BTTFOptionsRoot"), "/Separator", 59},
      {Root(u"SBOptionsRoot"), "/Level", 1},
      {Root(u"ToTOCOperationOptionsRoot"), "/StartingLevel", 1},
      {Root(u"ToTOCOperationOptionsRoot"), "/EndingLevel", -1},
      {Root(u"ToTOCOperationOptionsRoot"), "/PageNumber", 1},
      {Root(u"ToTOCOperationOptionsRoot"), "/PaperType", 1},
      {Root(u"ToTOCOperationOptionsRoot"), "/StdPaperIndex", 4},
      {Root(u"ToTOCOperationOptionsRoot"), "/Width", 595.3},
      {Root(u"ToTOCOperationOptionsRoot"), "/Height", 841.9},
      {Root(u"ToTOCOperationOptionsRoot"), "/PageNumberArea", 1.0},
      {Root(u"ToTOCOperationOptionsRoot"), "/PresetID", ""},
      {Root(u"ToTOCOperationOptionsRoot"), "/Landscape", false},
      {Root(u"ToTOCLevelRoot"), "/Name", "Arial"},
      {Root(u"ToTOCLevelRoot"), "/Size", 10.0},
      {Root(u"ToTOCLevelRoot"), "/HScale", 100.0},
      {Root(u"ToTOCLevelRoot"), "/FColor", "Gray(0)"},
      {Root(u"ToTOCLevelRoot"), "/SColor", "N"},
      {agb, "/Levels/0/Formatting/TitleLength", 256},
      {agb, "/Levels/0/Appearance/DestFlags", 12},
      {agb, "/Levels/0/Appearance/Color", "rgbd(0,0,0)"},
      {agb, "/Levels/0/LevelDescription/FontSize", 12.0},
      {agb, "/Levels/0/LevelDescription/FontTolerance", 0.2},
      {agb, "/Levels/0/LevelDescription/FontNames", json::array()},
      {plugin, "/ATBLastUsedOptions/StartLevel", 1},
      {plugin, "/AGBAddLevelLastUsedOptions/Formatting/TitleLength", 256},
      {plugin, "/ToTOCAddLevelLastUsedOptions/Size", 10.0},
      {plugin, "/AGBPresets", json::parse(R"({"Items": [], "_Removed": []})")},
      {plugin, "/ToTOCPresets/Items/0/Flags", 0},
      {plugin, "/ToTOCPresets/Items/0/ID", ""},
      {plugin, "/ToTOCPresets/Items/0/Data/StdPaperIndex", 4},
  };
  for (const auto& c : cases) {
    json values = CabToJson(c.root.Get());
    json::json_pointer pointer(c.pointer);
    ASSERT_TRUE(values.contains(pointer)) << c.pointer;
    if (c.expected.is_number_float()) {
      ASSERT_TRUE(values[pointer].is_number()) << c.pointer;
      EXPECT_DOUBLE_EQ(values[pointer].get<double>(), c.expected.get<double>()) << c.pointer;
    } else {
      EXPECT_EQ(values[pointer], c.expected) << c.pointer;
    }
  }
}

}  // namespace
}  // namespace zelta::app
