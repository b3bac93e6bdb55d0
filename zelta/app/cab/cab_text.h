// Number texts of the Cab's boundaries (XML templates, JSON, the command line); the text
// codec is zelta/base/text_codec.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelta::app {}  // namespace zelta::app

namespace zelta::app {

// Integer text: decimal with an optional '-', or 0x hexadecimal of up to 32 bits; hexadecimal
// values from 0x80000000 wrap to negative numbers, as flag words are written. The whole text
// must be the number.
bool ParseCabInt(std::string_view text, int32_t* value);
// A finite decimal floating-point number; the whole text must be the number.
bool ParseCabDouble(std::string_view text, double* value);

}  // namespace zelta::app
