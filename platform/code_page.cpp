#include "platform/code_page.h"

#include <langinfo.h>
#include <locale.h>
#include <unicode/ucnv.h>

#include <cstdlib>
#include <memory>

namespace bm::platform {

namespace {

// The locale's character set without changing the process locale.
std::string LocaleCharset() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return "UTF-8";
  std::string charset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  // The C locale's "ANSI_X3.4-1968" is the old default, not a choice: treat it as UTF-8.
  if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "US-ASCII") return "UTF-8";
  return charset;
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

}  // namespace

std::string AnsiCodePageName() {
  const char* chosen = std::getenv("ZELTA_ANSI_CODEPAGE");
  if (chosen && *chosen) return chosen;
  return LocaleCharset();
}

bool IsUtf8CodePage(std::string_view name) {
  return ucnv_compareNames(std::string(name).c_str(), "UTF-8") == 0;
}

bool DecodeCodePage(std::string_view name, std::string_view bytes, std::u16string* out,
                    std::string* error) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterCloser> converter(
      ucnv_open(std::string(name).c_str(), &status));
  if (U_FAILURE(status) || !converter) {
    if (error) *error = "no converter for the code page \"" + std::string(name) + "\"";
    return false;
  }
  // Every byte gives at most two code units (a supplementary character from up to four).
  std::u16string text(bytes.size() * 2 + 1, u'\0');
  status = U_ZERO_ERROR;
  const int32_t length =
      ucnv_toUChars(converter.get(), text.data(), static_cast<int32_t>(text.size()), bytes.data(),
                    static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) {
    if (error) *error = std::string("cannot decode the text: ") + u_errorName(status);
    return false;
  }
  text.resize(static_cast<size_t>(length));
  *out = std::move(text);
  return true;
}

}  // namespace bm::platform
