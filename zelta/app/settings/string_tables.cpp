#include "zelta/app/settings/string_tables.h"

#include <pugixml.hpp>

#include "zelta/app/settings/host_strings.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

// The text of an element: its character data, with CDATA sections, ignoring comments.
std::string ElementText(const pugi::xml_node& node) {
  std::string text;
  for (auto child : node.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
      text += child.value();
  return text;
}

}  // namespace

StringTables::StringTables() {
  for (const auto& s : HostStrings())
    hostStrings_.emplace(base::LossyUtf16(s.id), std::u16string(s.text));
}

HRESULT StringTables::Register(const uint8_t* xml, size_t size, std::string* error) {
  auto fail = [&](std::string why) {
    if (error) *error = "string table rejected: " + why;
    return E_INVALIDARG;
  };
  if (!xml || size == 0) return fail("it is empty");
  pugi::xml_document doc;
  auto parsed = doc.load_buffer(xml, size, pugi::parse_default, pugi::encoding_auto);
  if (!parsed)
    return fail(std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset));
  auto root = doc.document_element();
  if (std::string_view(root.name()) != "Localization")
    return fail("the document element is <" + std::string(root.name()) + ">, not <Localization>");
  std::string space = root.child("Module").attribute("namespace").value();
  if (space.empty()) return fail("it has no <Module namespace=...>");

  std::unordered_map<std::u16string, std::u16string> table;
  for (auto text : root.child("Strings").children("text")) {
    std::string id = text.attribute("id").value();
    if (id.empty()) continue;
    table[base::LossyUtf16(space + "." + id)] = base::LossyUtf16(ElementText(text));
  }
  for (auto& [id, text] : table) strings_[id] = std::move(text);
  return S_OK;
}

std::optional<std::u16string> StringTables::Find(std::u16string_view id) const {
  std::u16string key(id);
  if (auto host = hostStrings_.find(key); host != hostStrings_.end()) return host->second;
  if (auto found = strings_.find(key); found != strings_.end()) return found->second;
  return std::nullopt;
}

}  // namespace zelta::app
