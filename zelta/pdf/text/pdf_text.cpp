#include "zelta/pdf/text/pdf_text.h"

#include "zelta/base/text_codec.h"

namespace zelta::pdf {
namespace {

// PDFDocEncoding codes whose characters differ from ISO Latin-1: 0x18-0x1F and 0x80-0xA0.
// 0 marks a code without a character (0x9F).
constexpr char16_t kLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr char16_t kHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0x0000, 0x20AC};

char16_t DecodePdfDocByte(unsigned char b) {
  if (b >= 0x18 && b <= 0x1F) return kLow[b - 0x18];
  if (b >= 0x80 && b <= 0xA0 && kHigh[b - 0x80]) return kHigh[b - 0x80];
  return b;  // Latin-1, and codes without a character keep their value
}

// The PDFDocEncoding byte of c, or -1 when it has none.
int EncodePdfDocChar(char16_t c) {
  if (c == 0x09 || c == 0x0A || c == 0x0D) return c;
  if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFF && c != 0xAD)) return c;
  for (int i = 0; i < 8; ++i)
    if (kLow[i] == c) return 0x18 + i;
  for (int i = 0; i < 33; ++i)
    if (kHigh[i] && kHigh[i] == c) return 0x80 + i;
  return -1;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    out.push_back(static_cast<char16_t>((hi << 8) | lo));
  }
  return out;
}

bool IsPlainText(std::string_view bytes) {
  for (char b : bytes)
    if (b < 0x20 || b > 0x7E) return false;
  return true;
}

}  // namespace

std::u16string DecodeTextString(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
      static_cast<unsigned char>(bytes[1]) == 0xFF)
    return DecodeUtf16(bytes.substr(2), true);
  // A little-endian mark is not PDF, but some producers write it.
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    return DecodeUtf16(bytes.substr(2), false);
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return base::LossyUtf16(bytes.substr(3));
  std::u16string out;
  out.reserve(bytes.size());
  for (char b : bytes) out.push_back(DecodePdfDocByte(static_cast<unsigned char>(b)));
  return out;
}

std::string EncodeTextString(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  bool single = true;
  for (char16_t c : text) {
    int b = EncodePdfDocChar(c);
    if (b < 0) {
      single = false;
      break;
    }
    out.push_back(static_cast<char>(b));
  }
  // Bytes that begin like a byte order mark would be read back as another encoding.
  bool looksMarked =
      out.size() >= 2 &&
      ((out[0] == '\xFE' && out[1] == '\xFF') || (out[0] == '\xFF' && out[1] == '\xFE') ||
       (out.size() >= 3 && out.compare(0, 3, "\xEF\xBB\xBF") == 0));
  if (single && !looksMarked) return out;
  out.assign("\xFE\xFF");
  out.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

bool SameTextString(std::string_view a, std::string_view b) {
  if (a == b) return true;
  return !(IsPlainText(a) && IsPlainText(b)) && DecodeTextString(a) == DecodeTextString(b);
}

}  // namespace zelta::pdf
