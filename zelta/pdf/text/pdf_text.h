// PDF text strings and UTF conversions. PDF text strings are either PDFDocEncoding bytes or
// UTF-16BE after the byte order mark FE FF (UTF-8 after EF BB BF is accepted on read).
#pragma once

#include <string>
#include <string_view>

namespace zelta::pdf {

// Decodes the bytes of a PDF text string into UTF-16.
std::u16string DecodeTextString(std::string_view bytes);
// Encodes text in the shortest faithful form: PDFDocEncoding when every character has a code
// there (and the bytes cannot be mistaken for a byte order mark), else UTF-16BE with BOM.
std::string EncodeTextString(std::u16string_view text);
// Whether two text strings hold the same text, whatever their encodings. Bytes that are all
// printable ASCII read as themselves (no byte order mark begins with one), so two such
// strings need no decoding to tell.
bool SameTextString(std::string_view a, std::string_view b);

}  // namespace zelta::pdf
