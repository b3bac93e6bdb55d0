#include "platform/string_table.h"

#include <pugixml.hpp>

#include "platform/locale_text.h"

namespace bm::platform {

std::optional<StringTable> StringTable::Parse(std::span<const uint8_t> xml, std::string* error) {
  auto fail = [error](std::string message) -> std::optional<StringTable> {
    if (error) *error = std::move(message);
    return std::nullopt;
  };
  pugi::xml_document doc;
  // Whitespace inside texts is part of them ("Page First Text Line " ends in a space).
  pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed)
    return fail("string table: " + std::string(parsed.description()) + " at byte " +
                std::to_string(parsed.offset));
  pugi::xml_node root = doc.child("Localization");
  if (!root) return fail("string table: no Localization element");
  pugi::xml_node strings = root.child("Strings");
  if (!strings) return fail("string table: no Strings element");

  StringTable table;
  table.namespace_ = Utf8ToUtf16(root.child("Module").attribute("namespace").value());
  table.language_ = Utf8ToUtf16(root.child("Language").attribute("code").value());
  for (pugi::xml_node text : strings.children("text")) {
    std::string id = text.attribute("id").value();
    if (id.empty()) return fail("string table: a text without an id");
    auto [it, added] = table.texts_.emplace(Utf8ToUtf16(id), Utf8ToUtf16(text.text().get()));
    if (!added) return fail("string table: id \"" + id + "\" given twice");
  }
  return table;
}

std::optional<std::u16string> StringTable::Find(std::u16string_view id) const {
  auto found = texts_.find(id);
  if (found == texts_.end()) return std::nullopt;
  return found->second;
}

}  // namespace bm::platform
