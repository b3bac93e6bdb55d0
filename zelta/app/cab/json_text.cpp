#include "zelta/app/cab/json_text.h"

#include <cstdint>

namespace zelta::app {
namespace {

std::string Position(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  size_t line = 1, column = 1;
  for (size_t i = 0; i < offset; ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (byte == '\n') {
      ++line;
      column = 1;
    } else if ((byte & 0xC0) != 0x80) {
      ++column;  // continuation bytes belong to the character before
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

size_t FirstInvalidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t extra = 0;
    uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
      return i;
    }
    if (extra > text.size() - i - 1) return i;
    for (size_t k = 1; k <= extra; ++k) {
      const auto byte = static_cast<uint8_t>(text[i + k]);
      if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return i;
    }
    i += extra + 1;
  }
  return std::string_view::npos;
}

bool ParseJsonText(std::string_view text, nlohmann::json* value, std::string* error) {
  const size_t bad = FirstInvalidUtf8(text);
  if (bad != std::string_view::npos) {
    *error = "not valid UTF-8 at " + Position(text, bad);
    return false;
  }
  try {
    *value = nlohmann::json::parse(text);
    return true;
  } catch (const nlohmann::json::parse_error& e) {
    // e.byte counts from 1 and names the last byte read.
    *error = "not valid JSON at " + Position(text, e.byte > 0 ? e.byte - 1 : 0);
    if (std::string_view(e.what()).find("surrogate") != std::string_view::npos)
      *error += " (a \\u escape names half of a surrogate pair)";
    return false;
  } catch (const nlohmann::json::out_of_range&) {
    // A number beyond the range of a double (1e400) is refused by the parser without a place.
    *error = "not valid JSON: a number is too large";
    return false;
  }
}

}  // namespace zelta::app
