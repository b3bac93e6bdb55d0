#include "zelta/base/text_codec.h"

#include <cstdio>

#include "host/unicode.h"

namespace zelta::base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One UTF-8 sequence at `at`: how many bytes it takes (at least 1) and whether it is a
// character. An incomplete sequence ends before the byte that broke it, so that byte starts
// the next one. Overlong forms, surrogates and values past U+10FFFF are not characters.
size_t DecodeUtf8At(std::string_view text, size_t at, char32_t* cp, bool* valid) {
  auto lead = static_cast<unsigned char>(text[at]);
  int extra = lead < 0x80                   ? 0
              : lead >= 0xC2 && lead < 0xE0 ? 1
              : lead >= 0xE0 && lead < 0xF0 ? 2
              : lead >= 0xF0 && lead < 0xF5 ? 3
                                            : -1;
  if (extra < 0) {
    *valid = false;
    return 1;
  }
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  size_t j = 1;
  for (; j <= static_cast<size_t>(extra); ++j) {
    if (at + j >= text.size()) break;
    auto next = static_cast<unsigned char>(text[at + j]);
    if ((next & 0xC0) != 0x80) break;
    value = (value << 6) | (next & 0x3F);
  }
  *cp = value;
  *valid = j == static_cast<size_t>(extra) + 1 && !(extra == 2 && value < 0x800) &&
           !(extra == 3 && value < 0x10000) && !(value >= 0xD800 && value <= 0xDFFF) &&
           value <= 0x10FFFF;
  return j;
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD, or ends the conversion (false)
// when `strict`.
bool EncodeUtf8(std::u16string_view text, std::string* out, bool strict) {
  out->reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (strict) return false;
      cp = kReplacement;
    }
    AppendUtf8(*out, cp);
  }
  return true;
}

}  // namespace

std::u16string LossyUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    bool valid = false;
    i += DecodeUtf8At(text, i, &cp, &valid);
    AppendUtf16(out, valid ? cp : kReplacement);
  }
  return out;
}

std::optional<std::u16string> StrictUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    bool valid = false;
    i += DecodeUtf8At(text, i, &cp, &valid);
    if (!valid) return std::nullopt;
    AppendUtf16(out, cp);
  }
  return out;
}

std::string LossyUtf8(std::u16string_view text) {
  std::string out;
  EncodeUtf8(text, &out, false);
  return out;
}

std::optional<std::string> StrictUtf8(std::u16string_view text) {
  std::string out;
  if (!EncodeUtf8(text, &out, true)) return std::nullopt;
  return out;
}

std::string GuidText(const Guid& guid) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                guid.data1, guid.data2, guid.data3, guid.data4[0], guid.data4[1], guid.data4[2],
                guid.data4[3], guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
  return buffer;
}

}  // namespace zelta::base
