// The font table: subset tags, ids shared by name across threads.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "zelta/pdf/font_table.h"

namespace zelta::pdf {
namespace {

TEST(FontTableTest, SubsetTagsAreSixCapitalsAndAPlus) {
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEF+CMBX12"), "CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEF+"), "");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEf+CMBX12"), "ABCDEf+CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDE+CMBX12"), "ABCDE+CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEFG+CMBX12"), "ABCDEFG+CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEF-CMBX12"), "ABCDEF-CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("Times+Bold"), "Times+Bold");
  EXPECT_EQ(FontTable::StripSubsetTag(""), "");
}

TEST(FontTableTest, OneIdPerFullNameFromEveryThread) {
  auto& table = FontTable::Instance();
  std::vector<uint32_t> a(200), b(200);
  auto fill = [&](std::vector<uint32_t>& ids) {
    for (size_t i = 0; i < ids.size(); ++i) ids[i] = table.IdFor("QWERTY+Test" + std::to_string(i), 0);
  };
  std::thread other([&] { fill(a); });
  fill(b);
  other.join();
  EXPECT_EQ(a, b);
  std::set<uint32_t> distinct(a.begin(), a.end());
  EXPECT_EQ(distinct.size(), a.size());
  auto entry = table.Find(a[7]);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "Test7");
  EXPECT_EQ(entry->fullName, "QWERTY+Test7");
  // Another subset of the same font is another font with the same name.
  uint32_t otherSubset = table.IdFor("ZXCVBN+Test7", 0);
  EXPECT_NE(otherSubset, a[7]);
  EXPECT_EQ(table.Find(otherSubset)->name, "Test7");
  EXPECT_FALSE(table.Find(0));
}

}  // namespace
}  // namespace zelta::pdf
