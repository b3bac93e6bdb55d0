// Conversions between the host's UTF-16 text and the UTF-8 of files, XML and the terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/com.h"

namespace zelta::base {

// The host's one UTF-8 <-> UTF-16 codec, in two forms. The lossy form is for text that must
// be shown whatever it holds (PDF strings, messages, output): each broken, overlong or
// truncated UTF-8 sequence and each unpaired surrogate becomes one U+FFFD, and nothing is
// dropped. The strict form is for text a user or a file gave that must round-trip exactly
// (options templates, JSON, command-line values): it refuses such input (nullopt) rather
// than guess.
std::u16string LossyUtf16(std::string_view text);
std::string LossyUtf8(std::u16string_view text);
std::optional<std::u16string> StrictUtf16(std::string_view text);
std::optional<std::string> StrictUtf8(std::u16string_view text);

// "5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813": upper case, without braces.
std::string GuidText(const Guid& guid);

}  // namespace zelta::base
