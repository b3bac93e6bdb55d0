// UTF-8 <-> UTF-16 conversion for the Cab's text boundaries (XML templates, JSON, the
// command line). Strict conversions refuse malformed input instead of guessing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelta::app {

// Strict UTF-8 -> UTF-16: nullopt on malformed or overlong sequences and encoded surrogates.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// Strict UTF-16 -> UTF-8: nullopt on an unpaired surrogate.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);

// UTF-16 -> UTF-8 that writes U+FFFD for each unpaired surrogate; for output that must
// always be valid UTF-8 (JSON) even when a title carries broken text.
std::string Utf16ToUtf8Lossy(std::u16string_view text);

}  // namespace zelta::app

namespace zelta::app {

// Integer text: decimal with an optional '-', or 0x hexadecimal of up to 32 bits; hexadecimal
// values from 0x80000000 wrap to negative numbers, as flag words are written. The whole text
// must be the number.
bool ParseCabInt(std::string_view text, int32_t* value);
// A finite decimal floating-point number; the whole text must be the number.
bool ParseCabDouble(std::string_view text, double* value);

}  // namespace zelta::app
