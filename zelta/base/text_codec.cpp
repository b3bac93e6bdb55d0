#include "zelta/base/text_codec.h"

#include <cstdio>

#include "host/unicode.h"

namespace zelta::base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::u16string LossyUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80                   ? 0
                : lead >= 0xC2 && lead < 0xE0 ? 1
                : lead >= 0xE0 && lead < 0xF0 ? 2
                : lead >= 0xF0 && lead < 0xF5 ? 3
                                              : -1;
    if (extra < 0) {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra); ++j) {
      if (i + j >= text.size()) break;
      auto next = static_cast<unsigned char>(text[i + j]);
      if ((next & 0xC0) != 0x80) break;
      cp = (cp << 6) | (next & 0x3F);
    }
    bool complete = j == static_cast<size_t>(extra) + 1;
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    bool valid = complete && !(extra == 2 && cp < 0x800) && !(extra == 3 && cp < 0x10000) &&
                 !(cp >= 0xD800 && cp <= 0xDFFF) && cp <= 0x10FFFF;
    AppendUtf16(out, valid ? cp : kReplacement);
    i += j;  // an incomplete sequence resumes at the byte that broke it
  }
  return out;
}

std::string LossyUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
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
