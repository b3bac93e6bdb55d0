// Conversions between the host's UTF-16 text and the UTF-8 of files, XML and the terminal.
#pragma once

#include <string>
#include <string_view>

#include "host/com.h"

namespace zelta::base {

// Invalid or truncated UTF-8 sequences become U+FFFD each; nothing is dropped silently.
std::u16string LossyUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string LossyUtf8(std::u16string_view text);

// "5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813": upper case, without braces.
std::string GuidText(const Guid& guid);

}  // namespace zelta::base
