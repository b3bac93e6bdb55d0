// Reading a whole file into memory, with a bound on its size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/com.h"

namespace bm::platform {

// Reads the file at path (UTF-16) whole. A file larger than maxBytes, a folder, or a file
// that cannot be opened or read is refused: the result is E_FILE_NOT_FOUND, E_ACCESS_DENIED,
// E_INVALIDARG (too large, or a folder) or E_FAIL, and *why says what happened (without
// the path).
zelta::HRESULT ReadFileBytes(std::u16string_view path, size_t maxBytes, std::string* bytes,
                             std::u16string* why);

}  // namespace bm::platform
