// Small helpers the fuzz targets share: turning fuzzer bytes into the UTF-16 text both halves
// work on, and cutting one input into several fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

// UTF-8 decoded without judgement: encoded surrogates come out as lone surrogates and a byte
// that starts no sequence stands for itself, so every code unit sequence can be reached.
inline std::u16string LooseUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
    bool whole = extra > 0 && lead < 0xF8 && i + extra < bytes.size();
    for (size_t k = 1; whole && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      whole = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (!whole || code > 0x10FFFF) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += extra + 1;
  }
  return out;
}

// The input cut at every `separator` byte into at most `count` fields (the last one keeps the
// rest); missing fields are empty.
inline std::vector<std::string_view> Fields(std::string_view bytes, char separator, size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const size_t cut = bytes.find(separator);
    if (cut == std::string_view::npos) break;
    fields.push_back(bytes.substr(0, cut));
    bytes.remove_prefix(cut + 1);
  }
  fields.push_back(bytes);
  fields.resize(count);
  return fields;
}

}  // namespace fuzzing
