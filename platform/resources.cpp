#include "platform/resources.h"

#include "platform/embedded_resource.h"
#include "platform/locale_text.h"

namespace bm::platform {

std::optional<std::vector<uint8_t>> ReadResourceBytes(std::string_view type, int id) {
  std::span<const uint8_t> bytes = FindResource(type, id);
  // A resource that exists but is empty still has a data pointer; a missing one has none.
  if (!bytes.data()) return std::nullopt;
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::optional<std::u16string> ReadResourceText(std::string_view type, int id) {
  std::span<const uint8_t> bytes = FindResource(type, id);
  if (!bytes.data()) return std::nullopt;
  return WidenUtf8Text(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::u16string WidenUtf8Text(std::string_view utf8) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (utf8.starts_with(kBom)) utf8.remove_prefix(kBom.size());
  return Utf8ToUtf16(utf8);
}

}  // namespace bm::platform
