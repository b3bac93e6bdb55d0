#include "tools/create/bookmark_text_decoder.h"

#include "host/unicode.h"
#include "platform/code_page.h"

namespace bm {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kSwappedByteOrderMark = 0xFFFE;

char16_t Swapped(char16_t c) { return static_cast<char16_t>((c << 8) | (c >> 8)); }

// The length of the well-formed sequence at the start of bytes, with its code point; 0 when
// there is none, and *skip is then the maximal subpart that one U+FFFD replaces (at least
// one byte, as the Unicode standard recommends).
size_t ReadSequence(std::string_view bytes, char32_t* cp, size_t* skip) {
  const auto b0 = static_cast<uint8_t>(bytes[0]);
  *skip = 1;
  size_t need = 0;
  char32_t value = 0;
  uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1, value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2, value = b0 & 0x0F;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3, value = b0 & 0x07;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  for (size_t i = 1; i <= need; ++i) {
    if (i >= bytes.size()) return 0;
    const auto b = static_cast<uint8_t>(bytes[i]);
    const bool inRange = i == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
    if (!inRange) return 0;
    value = (value << 6) | (b & 0x3F);
    *skip = i + 1;
  }
  *cp = value;
  return need + 1;
}

// Counts lines as the line cutter sees them: CR, LF and CRLF each end one.
class LineCounter {
 public:
  void See(char32_t c) {
    if (c == u'\n' && previous_ != u'\r') ++line_;
    if (c == u'\r') ++line_;
    previous_ = c;
  }
  uint32_t Line() const { return line_; }

 private:
  uint32_t line_ = 1;
  char32_t previous_ = 0;
};

void Utf16Units(std::string_view bytes, bool bigEndian, std::u16string& out) {
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
}

}  // namespace

void BookmarkTextDecoder::DecodeUtf8(std::string_view bytes, DecodedText& out) {
  out.text.reserve(bytes.size());
  LineCounter lines;
  while (!bytes.empty()) {
    char32_t cp = 0;
    size_t skip = 1;
    const size_t length = ReadSequence(bytes, &cp, &skip);
    if (length == 0) {
      out.text.push_back(kReplacement);
      if (out.badLines.empty() || out.badLines.back() != lines.Line())
        out.badLines.push_back(lines.Line());
      bytes.remove_prefix(skip);
      continue;
    }
    zelta::AppendUtf16(out.text, cp);
    lines.See(cp);
    bytes.remove_prefix(length);
  }
}

DecodedText BookmarkTextDecoder::Decode(std::string_view bytes) const {
  DecodedText out;
  const auto starts = [&](std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
  };
  if (starts("\xEF\xBB\xBF")) {
    DecodeUtf8(bytes.substr(3), out);
    // A second mark inside the signature's text says which way its units were meant.
    if (!out.text.empty() && out.text.front() == kByteOrderMark) {
      out.text.erase(0, 1);
    } else if (!out.text.empty() && out.text.front() == kSwappedByteOrderMark) {
      out.text.erase(0, 1);
      for (char16_t& c : out.text) c = Swapped(c);
    }
  } else if (starts("\xFF\xFE")) {
    Utf16Units(bytes.substr(2), false, out.text);
  } else if (starts("\xFE\xFF")) {
    Utf16Units(bytes.substr(2), true, out.text);
  } else {
    // Well-formed UTF-8 is read as UTF-8 under any code page: exports carry no mark by
    // default, and 8-bit text in another code page seldom forms valid sequences by chance.
    DecodeUtf8(bytes, out);
    if (out.badLines.empty() || platform::IsUtf8CodePage(codePage_)) return out;
    out = DecodedText{};
    if (!platform::DecodeCodePage(codePage_, bytes, &out.text, &out.error)) out.text.clear();
  }
  return out;
}

}  // namespace bm
