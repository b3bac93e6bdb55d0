#include "zelta/app/cab_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "host/unicode.h"

namespace zelta::app {
namespace {

// Converts, calling onBad for an unpaired surrogate; returns false when onBad refuses.
template <class OnBad>
bool ConvertUtf16(std::u16string_view text, std::string& out, OnBad onBad) {
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      if (!onBad()) return false;
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return true;
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<uint8_t>(text[i]);
    char32_t cp;
    size_t extra;
    if (lead < 0x80) {
      cp = lead;
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      cp = lead & 0x1F;
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      cp = lead & 0x0F;
      extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      cp = lead & 0x07;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (extra > text.size() - i - 1) return std::nullopt;  // truncated sequence
    for (size_t k = 1; k <= extra; ++k) {
      auto b = static_cast<uint8_t>(text[i + k]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return std::nullopt;
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  if (!ConvertUtf16(text, out, [] { return false; })) return std::nullopt;
  return out;
}

std::string Utf16ToUtf8Lossy(std::u16string_view text) {
  std::string out;
  ConvertUtf16(text, out, [] { return true; });
  return out;
}

bool ParseCabInt(std::string_view text, int32_t* value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t wide = 0;
    auto digits = text.substr(2);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), wide, 16);
    if (ec != std::errc() || end != digits.data() + digits.size() || wide > 0xFFFFFFFFu)
      return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(wide));
    return true;
  }
  int64_t wide = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), wide, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  *value = static_cast<int32_t>(wide);
  return true;
}

bool ParseCabDouble(std::string_view text, double* value) {
  double parsed = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(parsed))
    return false;
  *value = parsed;
  return true;
}

}  // namespace zelta::app
