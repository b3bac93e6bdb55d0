// The module's resources, compiled into the module by type and numeric id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace bm::platform {

struct EmbeddedResource {
  const char* type;
  int id;
  const unsigned char* data;
  size_t size;
};

// Filled by the build (resources/).
extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

// The bytes of a resource; empty when the module has none of that type and id.
std::span<const uint8_t> FindResource(std::string_view type, int id);

}  // namespace bm::platform
