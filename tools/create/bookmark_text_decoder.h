// Turns the bytes of a bookmark text file into UTF-16, choosing the encoding by the first
// bytes: EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE; text without a mark is UTF-8 when
// it is well-formed UTF-8, else the ANSI code page.
// Malformed UTF-8 becomes U+FFFD, and the lines that held it are reported.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bm {

struct DecodedText {
  std::u16string text;
  // 1-based line numbers (CR, LF and CRLF each end a line) that held malformed bytes.
  std::vector<uint32_t> badLines;
  // Empty unless the text could not be decoded at all (an unknown code page).
  std::string error;
};

class BookmarkTextDecoder {
 public:
  // codePage is the converter name used for text without a signature.
  explicit BookmarkTextDecoder(std::string codePage) : codePage_(std::move(codePage)) {}

  DecodedText Decode(std::string_view bytes) const;

  // UTF-8 with every Unicode scalar value (four-byte sequences become surrogate pairs);
  // each maximal malformed subpart becomes one U+FFFD and its line goes into badLines.
  static void DecodeUtf8(std::string_view bytes, DecodedText& out);

 private:
  std::string codePage_;
};

}  // namespace bm
