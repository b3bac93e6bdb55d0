// The real options template: every root builds, and the defaults the operations rely on.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "zelta/app/cab_factory.h"
#include "zelta/app/cab_json.h"
#include "zelta/app/cab_text.h"

namespace zelta::app {
namespace {

std::u16string RealTemplate() {
  std::ifstream in(ZELTA_SOURCE_DIR "/resources/cab_template.xml", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return Utf8ToUtf16(bytes.str()).value_or(u"");
}

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
  // The item at a dotted path of field names.
  static ComPtr<ICabItem> At(ComPtr<ICabItem> item, std::u16string_view path) {
    while (item && !path.empty()) {
      size_t dot = path.find(u'.');
      std::u16string name(path.substr(0, dot));
      ComPtr<ICabItem> next;
      item->GetItem(name.c_str(), next.Put());
      item = next;
      path = dot == path.npos ? std::u16string_view() : path.substr(dot + 1);
    }
    return item;
  }
  static int32_t Int(ComPtr<ICabItem> item, std::u16string_view path) {
    int32_t value = -12345;
    auto target = At(item, path);
    EXPECT_TRUE(target) << Utf16ToUtf8Lossy(path);
    if (target) {
      EXPECT_EQ(target->GetInt(nullptr, -12345, &value), S_OK) << Utf16ToUtf8Lossy(path);
    }
    return value;
  }
  static double Double(ComPtr<ICabItem> item, std::u16string_view path) {
    double value = -1;
    auto target = At(item, path);
    EXPECT_TRUE(target) << Utf16ToUtf8Lossy(path);
    if (target) {
      EXPECT_EQ(target->GetDouble(nullptr, -1, &value), S_OK) << Utf16ToUtf8Lossy(path);
    }
    return value;
  }
  static std::u16string Text(ComPtr<ICabItem> item, std::u16string_view path) {
    OwnedString value;
    auto target = At(item, path);
    EXPECT_TRUE(target) << Utf16ToUtf8Lossy(path);
    if (target) {
      EXPECT_EQ(target->GetText(nullptr, u"<missing>", value.Put()), S_OK) << Utf16ToUtf8Lossy(path);
    }
    return value.Str();
  }
  static int32_t Type(ComPtr<ICabItem> item, std::u16string_view path) {
    int32_t type = -1;
    auto target = At(item, path);
    if (target) target->GetType(&type);
    return type;
  }

  std::u16string text_ = RealTemplate();
  ComPtr<ICabFactory> factory_ = MakeCabFactory();
};

TEST_F(CabTemplateTest, EveryRootBuildsAndRoundTripsThroughJson) {
  ASSERT_FALSE(text_.empty());
  for (const char16_t* rootId : kRoots) {
    ComPtr<ICabItem> root = Root(rootId);
    ASSERT_TRUE(root) << Utf16ToUtf8Lossy(rootId);
    nlohmann::json json = CabToJson(root.Get());
    ASSERT_TRUE(json.is_object());
    ComPtr<ICabItem> other = Root(rootId);
    std::string error;
    EXPECT_EQ(CabFromJson(other.Get(), json, &error), S_OK) << Utf16ToUtf8Lossy(rootId) << ": " << error;
    EXPECT_EQ(nlohmann::json(CabToJson(other.Get())), json);
  }
  ComPtr<ICab> none;
  EXPECT_EQ(factory_->CreateCab(text_.c_str(), -1, u"NoSuchRoot", none.Put()), E_INVALIDARG);
  EXPECT_FALSE(none);
}

TEST_F(CabTemplateTest, OperationRootHasInputOutputAndOptions) {
  ComPtr<ICabItem> atb = Root(u"ATBOperationRoot");
  EXPECT_EQ(Type(atb, u"Input"), kCabArray);
  EXPECT_EQ(Type(atb, u"Output"), kCabArray);
  int32_t count = -1;
  At(atb, u"Input")->GetCount(&count);
  EXPECT_EQ(count, 0);
  At(atb, u"Output")->GetCount(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Text(atb, u"Options.Prefix"), u"");
  EXPECT_EQ(Text(atb, u"Options.Suffix"), u"");
  EXPECT_EQ(Int(atb, u"Options.StartLevel"), 1);
  EXPECT_EQ(Int(atb, u"Options.Flags"), 0);

  ComPtr<ICabItem> agb = Root(u"AGBOperationRoot");
  EXPECT_EQ(Type(agb, u"Input"), kCabUnknown);
  ComPtr<IUnknown> object;
  EXPECT_EQ(At(agb, u"Input")->GetObject(nullptr, object.Put()), S_OK);
  EXPECT_FALSE(object);
  // AGBOperationOptions takes every item of AGBOptions, then PresetID, in template order.
  std::vector<std::u16string> names;
  ComPtr<ICabItem> options = At(agb, u"Options");
  options->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    OwnedString name;
    options->GetNameAt(i, name.Put());
    names.push_back(name.Str());
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Levels", u"PagesRange", u"Flags", u"StopWordsData", u"PresetID"}));
}

TEST_F(CabTemplateTest, OptionDefaults) {
  EXPECT_EQ(Text(Root(u"BNDOptionsRoot"), u"EditText"), u"%[Title]");
  ComPtr<ICabItem> benp = Root(u"BENPOptionsRoot");
  EXPECT_EQ(Text(benp, u"TitleText"), u"Page %[Page]");
  EXPECT_EQ(Int(benp, u"Step"), 1);
  EXPECT_EQ(Int(benp, u"PagesRange.Type"), -1);
  EXPECT_EQ(Int(benp, u"PagesRange.Filter"), 1);
  EXPECT_EQ(Int(benp, u"PagesRange.Custom"), -1);
  ComPtr<ICabItem> bft = Root(u"BFTOptionsRoot");
  EXPECT_EQ(Int(bft, u"Separator"), 59);
  EXPECT_EQ(Int(bft, u"ActionSeparator"), 44);
  EXPECT_EQ(Int(Root(u"BTTFOptionsRoot"), u"Separator"), 59);
  EXPECT_EQ(Int(Root(u"SBOptionsRoot"), u"Level"), 1);

  ComPtr<ICabItem> toc = Root(u"ToTOCOperationOptionsRoot");
  EXPECT_EQ(Int(toc, u"StartingLevel"), 1);
  EXPECT_EQ(Int(toc, u"EndingLevel"), -1);
  EXPECT_EQ(Int(toc, u"PageNumber"), 1);
  EXPECT_EQ(Int(toc, u"PaperType"), 1);
  EXPECT_EQ(Int(toc, u"StdPaperIndex"), 4);
  EXPECT_DOUBLE_EQ(Double(toc, u"Width"), 595.3);
  EXPECT_DOUBLE_EQ(Double(toc, u"Height"), 841.9);
  EXPECT_DOUBLE_EQ(Double(toc, u"PageNumberArea"), 1.0);
  EXPECT_EQ(Text(toc, u"PresetID"), u"");
  bool landscape = true;
  At(toc, u"Landscape")->GetBool(nullptr, true, &landscape);
  EXPECT_FALSE(landscape);

  ComPtr<ICabItem> level = Root(u"ToTOCLevelRoot");
  EXPECT_EQ(Text(level, u"Name"), u"Arial");
  EXPECT_DOUBLE_EQ(Double(level, u"Size"), 10.0);
  EXPECT_DOUBLE_EQ(Double(level, u"HScale"), 100.0);
  EXPECT_EQ(Text(level, u"FColor"), u"Gray(0)");
  EXPECT_EQ(Text(level, u"SColor"), u"N");
}

TEST_F(CabTemplateTest, AutoGenerationLevelDefaultsThroughArrayElements) {
  ComPtr<ICabItem> levels = At(Root(u"AGBOperationOptionsRoot"), u"Levels");
  ASSERT_TRUE(levels);
  ComPtr<ICabItem> level;
  ASSERT_EQ(levels->Insert(-1, level.Put()), S_OK);
  EXPECT_EQ(Type(level, u""), kCabDictionary);
  OwnedString name;
  level->GetName(name.Put());
  EXPECT_TRUE(name.Empty());  // elements have no name, even when the element item has an id
  EXPECT_EQ(Int(level, u"Formatting.TitleLength"), 256);
  EXPECT_EQ(Int(level, u"Appearance.DestFlags"), 12);
  EXPECT_EQ(Text(level, u"Appearance.Color"), u"rgbd(0,0,0)");
  EXPECT_DOUBLE_EQ(Double(level, u"LevelDescription.FontSize"), 12.0);
  EXPECT_DOUBLE_EQ(Double(level, u"LevelDescription.FontTolerance"), 0.2);
  EXPECT_EQ(Type(level, u"LevelDescription.FontNames"), kCabArray);
}

TEST_F(CabTemplateTest, PluginRootHoldsEveryLastUsedSetAndEmptyPresets) {
  ComPtr<ICabItem> plugin = Root(u"PluginRoot");
  int32_t count = 0;
  plugin->GetCount(&count);
  EXPECT_EQ(count, 16);
  EXPECT_EQ(Int(plugin, u"ATBLastUsedOptions.StartLevel"), 1);
  EXPECT_EQ(Int(plugin, u"AGBAddLevelLastUsedOptions.Formatting.TitleLength"), 256);
  EXPECT_DOUBLE_EQ(Double(plugin, u"ToTOCAddLevelLastUsedOptions.Size"), 10.0);
  nlohmann::json presets = CabToJson(At(plugin, u"AGBPresets").Get());
  EXPECT_EQ(presets, nlohmann::json::parse(R"({"Items": [], "_Removed": []})"));
  ComPtr<ICabItem> preset;
  ASSERT_EQ(At(plugin, u"ToTOCPresets.Items")->Insert(-1, preset.Put()), S_OK);
  EXPECT_EQ(Int(preset, u"Flags"), 0);
  EXPECT_EQ(Text(preset, u"ID"), u"");
  EXPECT_EQ(Int(preset, u"Data.StdPaperIndex"), 4);
}

}  // namespace
}  // namespace zelta::app
