// The real options template: every root builds, and the defaults the operations rely on.
#include <gtest/gtest.h>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/cab/cab_factory.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

using nlohmann::json;

class CabTemplateTest : public ::testing::Test {
 protected:
  ComPtr<ICabItem> Root(const char16_t* rootId) {
    ComPtr<ICab> cab;
    EXPECT_EQ(factory_->CreateCab(text_.c_str(), -1, rootId, cab.Put()), S_OK)
        << base::LossyUtf8(rootId);
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
      base::StrictUtf16(zelta::testing::ReadFile(ZELTA_SOURCE_DIR "/resources/cab_template.xml"))
          .value_or(u"");
  ComPtr<ICabFactory> factory_ = MakeCabFactory();
};

// Every root of tests/golden/option_defaults.json builds, reads back what it writes, and
// holds the defaults written there. Array elements get their defaults when inserted: the
// lists that hold them get one element first.
TEST_F(CabTemplateTest, EveryRootBuildsRoundTripsAndHasItsDefaults) {
  ASSERT_FALSE(text_.empty());
  const json golden = zelta::testing::ReadGoldenJson("option_defaults.json");
  ASSERT_GT(golden.size(), 20u);
  json defaults;
  for (const auto& item : golden.items()) {
    const std::string name = item.key();
    const std::u16string rootId = base::LossyUtf16(name);
    ComPtr<ICabItem> root = Root(rootId.c_str());
    ASSERT_TRUE(root) << name;
    if (name == "AGBOperationOptionsRoot") {
      ASSERT_EQ(Field(root.Get(), u"Levels")->Insert(-1, nullptr), S_OK);
    }
    if (name == "PluginRoot") {
      ComPtr<ICabItem> preset;
      ASSERT_EQ(Field(Field(root.Get(), u"ToTOCPresets").Get(), u"Items")->Insert(-1, preset.Put()),
                S_OK);
      EXPECT_EQ(Type(preset.Get()), kCabDictionary);
      OwnedString element;
      preset->GetName(element.Put());
      EXPECT_TRUE(element.Empty());  // elements have no name, even when the element item has an id
    }
    json values = CabToJson(root.Get());
    ASSERT_TRUE(values.is_object());
    ComPtr<ICabItem> other = Root(rootId.c_str());
    std::string error;
    EXPECT_EQ(CabFromJson(other.Get(), values, &error), S_OK) << name << ": " << error;
    EXPECT_EQ(json(CabToJson(other.Get())), values);
    defaults[name] = values;
  }
  zelta::testing::ExpectGoldenJson("option_defaults.json", defaults);
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
  EXPECT_EQ(names, (std::vector<std::string>{"Levels", "PagesRange", "Flags", "StopWordsData",
                                             "PresetID"}));
}

}  // namespace
}  // namespace zelta::app
