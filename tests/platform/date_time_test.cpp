// Date and time pictures formatted at a fixed instant, zone and locale.
#include "platform/date_time.h"

#include <gtest/gtest.h>

namespace bm::platform {
namespace {

// 2024-03-05 14:07:09 UTC, a Tuesday.
DateTimeContext At(std::string locale = "en_GB") {
  DateTimeContext ctx;
  ctx.millis = 1709647629000.0;
  ctx.locale = std::move(locale);
  ctx.timeZone = "UTC";
  return ctx;
}

TEST(DateTime, DatePicturesGiveEveryField) {
  EXPECT_EQ(FormatDate(At(), u"dd/MM/yyyy"), u"05/03/2024");
  EXPECT_EQ(FormatDate(At(), u"d.M.yy"), u"5.3.24");
  EXPECT_EQ(FormatDate(At(), u"dddd d MMMM yyyy"), u"Tuesday 5 March 2024");
  EXPECT_EQ(FormatDate(At(), u"ddd MMM"), u"Tue Mar");
  EXPECT_EQ(FormatDate(At("de_DE"), u"dddd"), u"Dienstag");
}

TEST(DateTime, QuotedTextAndOtherLettersStay) {
  EXPECT_EQ(FormatDate(At(), u"'day' d 'of' MMMM"), u"day 5 of March");
  EXPECT_EQ(FormatDate(At(), u"d 'o''clock' ''"), u"5 o'clock '");
  // Time letters mean nothing in a date picture, and the reverse.
  EXPECT_EQ(FormatDate(At(), u"hh d"), u"hh 5");
  EXPECT_EQ(FormatTime(At(), u"HH dd"), u"14 dd");
  EXPECT_EQ(FormatDate(At(), u"'unclosed"), u"unclosed");
}

TEST(DateTime, TimePicturesGiveEveryField) {
  EXPECT_EQ(FormatTime(At(), u"HH:mm:ss"), u"14:07:09");
  EXPECT_EQ(FormatTime(At(), u"h:m:s"), u"2:7:9");
  EXPECT_EQ(FormatTime(At("en_US"), u"hh:mm tt"), u"02:07 PM");
  EXPECT_EQ(FormatTime(At("en_US"), u"h t"), u"2 P");
}

TEST(DateTime, NoPictureTakesTheLocaleFormats) {
  EXPECT_EQ(FormatDate(At(), u""), u"05/03/2024");
  EXPECT_EQ(FormatTime(At(), u""), u"14:07:09");
  // The current time formats at all in the environment's locale.
  EXPECT_FALSE(FormatDate(CurrentDateTime(), u"").empty());
}

}  // namespace
}  // namespace bm::platform
