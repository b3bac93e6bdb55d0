#include "zelta/base/result_text.h"

#include <gtest/gtest.h>

#include <iterator>

#include "support/bookmarks_facility.h"
#include "tests/fixtures/golden.h"
#include "zelta/base/result_text_service.h"
#include "zelta/base/text_codec.h"

namespace zelta::base {
namespace {

constexpr zelta::HRESULT Code(uint32_t bits) { return static_cast<zelta::HRESULT>(bits); }

class ResultText : public ::testing::Test {
 protected:
  void SetUp() override {
    bm::support::RegisterBookmarksFacility(MakeCom<ResultTextService>().Get());
  }
};

// The full texts of tests/golden/result_texts.json: the plug-in's codes and the system's,
// codes whose facility or message is unknown (bit 25 set for an unregistered facility
// included), the built-in facilities, the plug-in's table winning over the common one, the
// operating-system facility passing the low word, and the severity words.
TEST_F(ResultText, GoldenTexts) {
  const nlohmann::json expected = zelta::testing::ReadGoldenJson("result_texts.json");
  ASSERT_TRUE(expected.is_object() && !expected.empty());
  nlohmann::json actual = nlohmann::json::object();
  for (const auto& [code, text] : expected.items()) {
    const auto bits = static_cast<uint32_t>(std::stoul(code, nullptr, 16));
    actual[code] = LossyUtf8(DescribeResult(Code(bits)));
  }
  zelta::testing::ExpectGoldenJson("result_texts.json", actual);
}

TEST_F(ResultText, ShortFormLeavesOutTheSeverity) {
  std::u16string text;
  EXPECT_EQ(DescribeResult(Code(0x821F1001), &text, true), 1);
  EXPECT_EQ(text, u"[Bookmarks]: No permissions for this operation.");
  EXPECT_EQ(DescribeResult(Code(0x80070005), &text, true), 1);
  EXPECT_EQ(text, u"[System]: Access is denied.");
  EXPECT_EQ(DescribeResult(0, &text, true), 1);
  EXPECT_EQ(text, u"Success");
  EXPECT_EQ(DescribeResult(Code(0x821F1001), nullptr, false), 0);
}

TEST_F(ResultText, PiecesAlone) {
  EXPECT_EQ(FacilityName(Code(0x821F1001)), u"Bookmarks");
  EXPECT_EQ(FacilityName(Code(0x80070057)), u"System");
  // Facility 31 without bit 25 is not looked up in the registry.
  EXPECT_EQ(FacilityName(Code(0x801F1001)), u"System");
  EXPECT_EQ(MessageText(Code(0x821F1001)), u"No permissions for this operation");
  EXPECT_EQ(MessageText(Code(0x80070057)), u"The parameter is incorrect.");
  EXPECT_FALSE(MessageText(Code(0x821F7777)));
}

TEST_F(ResultText, MessagesAreTidiedIntoOneSentence) {
  static constexpr FacilityMessage kMessages[] = {
      {0x0001, u"Ends with a line break\r\n"},
      {0x0002, u"Already a sentence."},
      {0x0003, u" \t\r\n"},
      {0x0004, nullptr},
  };
  ASSERT_TRUE(RegisterFacility(300, kMessages, std::size(kMessages), u"Tidy"));
  EXPECT_EQ(DescribeResult(Code(0x832C0001)), u"Error [Tidy]: Ends with a line break.");
  EXPECT_EQ(DescribeResult(Code(0x832C0002)), u"Error [Tidy]: Already a sentence.");
  EXPECT_EQ(DescribeResult(Code(0x832C0003)), u"Error [Tidy]: Unknown error: 0x832C0003.");
  // A null row is skipped, so the common table answers.
  EXPECT_EQ(DescribeResult(Code(0x832C0004)), u"Error [Tidy]: Invalid page number.");
  EXPECT_TRUE(UnregisterFacility(300));

  ASSERT_TRUE(RegisterFacility(301, nullptr, 5, u""));
  EXPECT_EQ(DescribeResult(Code(0x832D0001)), u"Error [Unknown]: Invalid argument.");
  EXPECT_TRUE(UnregisterFacility(301));
}

}  // namespace
}  // namespace zelta::base
