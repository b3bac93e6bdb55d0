#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/embedded_resource.h"
#include "platform/locale_text.h"

namespace bm::platform {
namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The module's own table: ids are stored without the namespace the host puts before them.
TEST(ModuleStrings, IdsAreBareAndTextsPresent) {
  std::string error;
  auto table = StringTable::Parse(FindResource("XML", 102), &error);
  ASSERT_TRUE(table) << error;
  EXPECT_EQ(table->Namespace(), u"bookmarksPlugin");
  EXPECT_GT(table->Size(), 200u);
  for (const auto& [id, text] : table->Texts()) {
    EXPECT_FALSE(id.starts_with(u"bookmarksPlugin.")) << Utf16ToUtf8(id);
    EXPECT_FALSE(text.empty()) << Utf16ToUtf8(id);
  }
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
