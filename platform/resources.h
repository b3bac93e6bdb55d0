// Reading the module's embedded resources (see embedded_resource.h) as bytes or as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bm::platform {

// A copy of a resource's bytes; nullopt when the module has no resource of that type and id.
std::optional<std::vector<uint8_t>> ReadResourceBytes(std::string_view type, int id);

// A resource's UTF-8 text widened to UTF-16, without a leading byte-order mark; invalid
// sequences become U+FFFD. nullopt when the resource does not exist.
std::optional<std::u16string> ReadResourceText(std::string_view type, int id);

// UTF-8 bytes widened to UTF-16 with a leading byte-order mark removed.
std::u16string WidenUtf8Text(std::string_view utf8);

}  // namespace bm::platform
