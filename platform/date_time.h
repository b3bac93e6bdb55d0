// The current date and time as text in the user's locale, from date and time pictures of the
// kind users type into title templates ("dd/MM/yyyy", "hh:mm tt"). Formatting is ICU's; the
// pictures are read here.
//
// Date pictures: d, dd (day), ddd, dddd (weekday, short and long), M, MM (month), MMM, MMMM
// (month name, short and long), y (year in the century, no leading zero), yy (two digits),
// yyyy or longer (the full year), g or gg (era). Time pictures: h, hh (hour 1-12), H, HH
// (hour 0-23), m, mm (minutes), s, ss (seconds), t (the first letter of the AM/PM marker), tt
// (the marker). Text in single quotes is copied as it stands ('' is one quote); every other
// character is copied too, including the letters the picture kind does not use.
#pragma once

#include <string>
#include <string_view>

namespace bm::platform {

struct DateTimeContext {
  double millis = 0;     // milliseconds since 1970-01-01 UTC
  std::string locale;    // ICU locale id; empty is the root locale
  std::string timeZone;  // an Olson id; empty is the system's zone
};

// Now, in the user's locale (LC_ALL, LC_TIME, then LANG) and the system's time zone.
DateTimeContext CurrentDateTime();

// The date (or time) at ctx by the picture. An empty picture gives the locale's short date
// (or its time with seconds). Empty text when ICU cannot format.
std::u16string FormatDate(const DateTimeContext& ctx, std::u16string_view picture);
std::u16string FormatTime(const DateTimeContext& ctx, std::u16string_view picture);

}  // namespace bm::platform
