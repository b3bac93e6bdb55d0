#include "platform/date_time.h"

#include <unicode/ucal.h>
#include <unicode/udat.h>

#include <cstdlib>
#include <memory>

namespace bm::platform {
namespace {

struct CloseFormat {
  void operator()(UDateFormat* f) const { udat_close(f); }
};
using FormatPtr = std::unique_ptr<UDateFormat, CloseFormat>;

std::string LocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::string locale(value);
    // POSIX ids carry an encoding and a modifier that ICU does not take ("de_DE.UTF-8@euro").
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") return {};
    return locale;
  }
  return {};
}

FormatPtr OpenFormat(const DateTimeContext& ctx, UDateFormatStyle timeStyle,
                     UDateFormatStyle dateStyle, std::u16string_view pattern) {
  UErrorCode status = U_ZERO_ERROR;
  std::u16string zone = std::u16string(ctx.timeZone.begin(), ctx.timeZone.end());
  const char* locale = ctx.locale.empty() ? "und" : ctx.locale.c_str();
  UDateFormat* format =
      udat_open(timeStyle, dateStyle, locale, zone.empty() ? nullptr : zone.data(),
                static_cast<int32_t>(zone.size()), pattern.empty() ? nullptr : pattern.data(),
                static_cast<int32_t>(pattern.size()), &status);
  if (U_FAILURE(status)) {
    if (format) udat_close(format);
    return nullptr;
  }
  return FormatPtr(format);
}

std::u16string Format(UDateFormat* format, double millis) {
  if (!format) return {};
  UErrorCode status = U_ZERO_ERROR;
  std::u16string text(64, u'\0');
  int32_t length =
      udat_format(format, millis, text.data(), static_cast<int32_t>(text.size()), nullptr, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    text.assign(static_cast<size_t>(length), u'\0');
    length = udat_format(format, millis, text.data(), length, nullptr, &status);
  }
  if (U_FAILURE(status) || length < 0) return {};
  text.resize(static_cast<size_t>(length));
  return text;
}

// One field of the picture in ICU's own pattern letters.
std::u16string FormatField(const DateTimeContext& ctx, std::u16string_view pattern) {
  return Format(OpenFormat(ctx, UDAT_PATTERN, UDAT_PATTERN, pattern).get(), ctx.millis);
}

// The ICU pattern of a run of `count` picture letters; empty when the letter is no field.
std::u16string FieldPattern(char16_t letter, size_t count, bool date) {
  if (date) {
    switch (letter) {
      case u'd':
        return count == 1 ? u"d" : count == 2 ? u"dd" : count == 3 ? u"EEE" : u"EEEE";
      case u'M':
        return count == 1 ? u"M" : count == 2 ? u"MM" : count == 3 ? u"MMM" : u"MMMM";
      case u'y':
        return count <= 2 ? u"yy" : u"yyyy";
      case u'g':
        return u"G";
      default:
        return {};
    }
  }
  switch (letter) {
    case u'h':
      return count == 1 ? u"h" : u"hh";
    case u'H':
      return count == 1 ? u"H" : u"HH";
    case u'm':
      return count == 1 ? u"m" : u"mm";
    case u's':
      return count == 1 ? u"s" : u"ss";
    case u't':
      return u"a";
    default:
      return {};
  }
}

std::u16string FormatPicture(const DateTimeContext& ctx, std::u16string_view picture, bool date) {
  std::u16string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      // Quoted text up to the next lone quote; '' inside or outside is one quote.
      ++i;
      if (i < picture.size() && picture[i] == u'\'') {
        out += u'\'';
        ++i;
        continue;
      }
      while (i < picture.size()) {
        if (picture[i] == u'\'') {
          if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
            out += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    size_t count = 1;
    while (i + count < picture.size() && picture[i + count] == c) ++count;
    const std::u16string pattern = FieldPattern(c, count, date);
    if (pattern.empty()) {
      out.append(picture.substr(i, count));
    } else {
      std::u16string text = FormatField(ctx, pattern);
      if (date && c == u'y' && count == 1 && text.size() > 1 && text[0] == u'0') text.erase(0, 1);
      if (!date && c == u't' && count == 1 && !text.empty()) text.resize(1);
      out += text;
    }
    i += count;
  }
  return out;
}

}  // namespace

DateTimeContext CurrentDateTime() {
  DateTimeContext ctx;
  ctx.millis = ucal_getNow();
  ctx.locale = LocaleFromEnvironment();
  return ctx;
}

std::u16string FormatDate(const DateTimeContext& ctx, std::u16string_view picture) {
  if (picture.empty()) return Format(OpenFormat(ctx, UDAT_NONE, UDAT_SHORT, {}).get(), ctx.millis);
  return FormatPicture(ctx, picture, true);
}

std::u16string FormatTime(const DateTimeContext& ctx, std::u16string_view picture) {
  if (picture.empty()) return Format(OpenFormat(ctx, UDAT_MEDIUM, UDAT_NONE, {}).get(), ctx.millis);
  return FormatPicture(ctx, picture, false);
}

}  // namespace bm::platform
