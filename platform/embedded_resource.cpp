#include "platform/embedded_resource.h"

namespace bm::platform {

std::span<const uint8_t> FindResource(std::string_view type, int id) {
  for (size_t i = 0; i < kEmbeddedResourceCount; ++i) {
    const EmbeddedResource& r = kEmbeddedResources[i];
    if (r.id == id && type == r.type) return {r.data, r.size};
  }
  return {};
}

}  // namespace bm::platform
