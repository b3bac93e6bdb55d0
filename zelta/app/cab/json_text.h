// Reading JSON text given by a user (an options file, a --set value) with errors that say
// where the text goes wrong and never repeat its bytes, which may not be printable.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace zelta::app {

// Parses text into *value. On failure *error is "not valid UTF-8 at line L, column C" or
// "not valid JSON at line L, column C" (with the reason when it is a lone surrogate escape);
// lines and columns count from 1, columns in characters.
bool ParseJsonText(std::string_view text, nlohmann::json* value, std::string* error);

// The byte offset of the first malformed UTF-8 sequence in text, or npos when there is none.
size_t FirstInvalidUtf8(std::string_view text);

}  // namespace zelta::app
