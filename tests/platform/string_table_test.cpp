#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "platform/embedded_resource.h"
#include "platform/locale_text.h"
#include "tests/fixtures/golden.h"

namespace bm::platform {
namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

class ModuleStrings : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = FindResource("XML", 102);
    ASSERT_FALSE(bytes_.empty()) << "string table resource 102 is missing";
    std::string error;
    auto table = StringTable::Parse(bytes_, &error);
    ASSERT_TRUE(table) << error;
    table_ = std::move(*table);
  }
  std::u16string Text(std::u16string_view id) {
    auto text = table_.Find(id);
    EXPECT_TRUE(text) << "missing string " << Utf16ToUtf8(id);
    return text.value_or(u"");
  }

  std::span<const uint8_t> bytes_;
  StringTable table_;
};

TEST_F(ModuleStrings, HeaderDescribesTheModule) {
  ASSERT_GE(bytes_.size(), 3u);
  EXPECT_EQ(bytes_[0], 0xEF);
  EXPECT_EQ(bytes_[1], 0xBB);
  EXPECT_EQ(bytes_[2], 0xBF);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_buffer(bytes_.data(), bytes_.size()));
  pugi::xml_node root = doc.child("Localization");
  for (const char* name : {"Version", "Author", "Copyright"})
    EXPECT_STREQ(root.child(name).text().get(), "1.00.00") << name;
  EXPECT_STREQ(root.child("Product").attribute("id").value(), "product");
  pugi::xml_node language = root.child("Language");
  EXPECT_STREQ(language.attribute("eName").value(), "English - United Kingdom");
  EXPECT_STREQ(language.attribute("lName").value(), "English");
  EXPECT_STREQ(language.attribute("R2L").value(), "false");
  EXPECT_STREQ(root.child("Module").attribute("name").value(), "BookmarksPlugin");
  EXPECT_EQ(table_.Namespace(), u"bookmarksPlugin");
  EXPECT_EQ(table_.Language(), u"en-GB");
}

TEST_F(ModuleStrings, IdsAreBareAndTextsPresent) {
  EXPECT_GT(table_.Size(), 200u);
  for (const auto& [id, text] : table_.Texts()) {
    EXPECT_FALSE(id.starts_with(u"bookmarksPlugin.")) << Utf16ToUtf8(id);
    EXPECT_FALSE(text.empty()) << Utf16ToUtf8(id);
  }
}

// The texts users see quoted elsewhere (whitespace inside and at the end included) and the
// title of every dialog, as tests/golden/module_strings.json lists them.
TEST_F(ModuleStrings, HoldsTheGoldenTexts) {
  const nlohmann::json expected = zelta::testing::ReadGoldenJson("module_strings.json");
  ASSERT_TRUE(expected.is_object() && !expected.empty());
  nlohmann::json actual = nlohmann::json::object();
  for (const auto& [id, text] : expected.items()) actual[id] = Utf16ToUtf8(Text(Utf8ToUtf16(id)));
  zelta::testing::ExpectGoldenJson("module_strings.json", actual);
}

TEST(DialogLayouts, ResourceIsAValidLayoutDocument) {
  std::span<const uint8_t> bytes = FindResource("XML", 101);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_buffer(bytes.data(), bytes.size()));
  EXPECT_STREQ(doc.child("dialogs").attribute("product").value(), "bookmarksPlugin");
  EXPECT_STREQ(doc.child("dialogs").attribute("version").value(), "1.0");
}

TEST(StringTableParse, RefusesBadTablesWithAReason) {
  std::string error;
  EXPECT_FALSE(StringTable::Parse(Bytes("<Localization><Strings><text id=\"a\">x</text>"), &error));
  EXPECT_NE(error.find("at byte"), std::string::npos) << error;
  EXPECT_FALSE(StringTable::Parse(
      Bytes("<Localization><Strings><text id=\"a\">x</text><text id=\"a\">y</text>"
            "</Strings></Localization>"),
      &error));
  EXPECT_NE(error.find("\"a\" given twice"), std::string::npos) << error;
  EXPECT_FALSE(StringTable::Parse(
      Bytes("<Localization><Strings><text>x</text></Strings></Localization>"), &error));
  EXPECT_FALSE(StringTable::Parse(Bytes("<Other/>"), &error));
  EXPECT_FALSE(StringTable::Parse({}, nullptr));
}

}  // namespace
}  // namespace bm::platform
