#include "zelta/ui/dialog_layout_parser.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <pugixml.hpp>
#include <set>

#include "zelta/base/text_codec.h"

namespace zelta::ui {

namespace {

struct KindName {
  const char* name;
  DialogControlKind kind;
};
constexpr KindName kKinds[] = {
    {"label", kControlLabel},       {"check", kControlCheck},     {"button", kControlButton},
    {"edit", kControlEdit},         {"radio", kControlRadio},     {"group", kControlGroup},
    {"combo", kControlCombo},       {"list", kControlList},       {"tree", kControlTree},
    {"progress", kControlProgress}, {"picture", kControlPicture}, {"infoBtn", kControlInfoButton},
};

// A malformed attribute stops the parse with a message naming the dialog, control and
// attribute; collected here so that the readers stay one line each.
class Reader {
 public:
  explicit Reader(std::string where) : where_(std::move(where)) {}

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }
  void Fail(const std::string& what) {
    if (error_.empty()) error_ = where_ + ": " + what;
  }

  int32_t Int(const pugi::xml_node& node, const char* name, bool required) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
      if (required) Fail(std::string("missing ") + name);
      return 0;
    }
    const char* text = attribute.value();
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    if (ec != std::errc() || *end != 0) Fail(std::string("bad number in ") + name);
    return value;
  }

  // "#" followed by hexadecimal digits.
  uint32_t Hex(const pugi::xml_node& node, const char* name) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return 0;
    const char* text = attribute.value();
    if (*text != '#') {
      Fail(std::string("bad bit set in ") + name);
      return 0;
    }
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text + 1, text + std::strlen(text), value, 16);
    if (ec != std::errc() || *end != 0) Fail(std::string("bad bit set in ") + name);
    return value;
  }

  bool Bool(const pugi::xml_node& node, const char* name, bool def) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return def;
    const std::string_view text = attribute.value();
    if (text == "true" || text == "1") return true;
    if (text == "false" || text == "0") return false;
    Fail(std::string("bad truth value in ") + name);
    return def;
  }

  std::u16string Text(const pugi::xml_node& node, const char* name) {
    return base::LossyUtf16(node.attribute(name).value());
  }

 private:
  std::string where_;
  std::string error_;
};

std::optional<LayoutControl> ReadControl(const pugi::xml_node& node, Reader& reader) {
  LayoutControl control;
  const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindName& k) {
    return std::strcmp(k.name, node.name()) == 0;
  });
  if (kind == std::end(kKinds)) {
    reader.Fail(std::string("unknown control kind ") + node.name());
    return std::nullopt;
  }
  control.kind = kind->kind;
  control.id = reader.Text(node, "id");
  control.x = reader.Int(node, "x", true);
  control.y = reader.Int(node, "y", true);
  control.width = reader.Int(node, "width", true);
  control.height = reader.Int(node, "height", true);
  if (control.width < 0 || control.height < 0) reader.Fail("negative size");
  control.text = reader.Text(node, "text");
  control.style = reader.Hex(node, "style");
  control.scrollStyle = reader.Hex(node, "scrollStyle");
  control.drawTextFlags = reader.Hex(node, "drawTextFlags");
  control.fixed = reader.Bool(node, "fixed", false);
  control.newGroup = reader.Bool(node, "newGroup", false);
  control.tabStop = reader.Bool(node, "tabstop", true);
  control.visible = reader.Bool(node, "visible", true);
  control.state = reader.Int(node, "state", false);
  control.icon = reader.Text(node, "icon");
  control.image = reader.Text(node, "image");
  control.header = reader.Text(node, "header");
  control.buddy = reader.Text(node, "buddy");
  if (reader.Failed()) return std::nullopt;
  return control;
}

std::optional<DialogLayout> ReadDialog(const pugi::xml_node& node, std::string* error) {
  const std::string id = node.attribute("id").value();
  DialogLayout layout;
  Reader reader("dialog " + id);
  layout.id = base::LossyUtf16(id);
  layout.title = reader.Text(node, "title");
  layout.width = reader.Int(node, "width", true);
  layout.height = reader.Int(node, "height", true);
  if (layout.width <= 0 || layout.height <= 0) reader.Fail("no size");
  layout.font = reader.Text(node, "font");
  layout.fontSize = node.attribute("fontSize").as_double();
  layout.foreground = reader.Bool(node, "foreground", false);
  layout.scrollable = reader.Bool(node, "scrollable", false);
  layout.defaultButton = reader.Text(node, "defItem");
  if (const pugi::xml_node fixed = node.child("fixedArea")) {
    layout.fixedArea = reader.Int(fixed, "size", true);
    if (layout.fixedArea < 0 || layout.fixedArea >= layout.height) reader.Fail("bad fixed area");
  }
  std::set<std::u16string> ids;
  for (const pugi::xml_node& item : node.child("items").children()) {
    if (item.type() != pugi::node_element) continue;
    auto control = ReadControl(item, reader);
    if (!control) break;
    if (!control->id.empty() && !ids.insert(control->id).second)
      reader.Fail("control id " + base::LossyUtf8(control->id) + " appears twice");
    layout.controls.push_back(std::move(*control));
  }
  if (reader.Failed()) {
    if (error) *error = reader.Error();
    return std::nullopt;
  }
  return layout;
}

bool LoadDocument(std::span<const uint8_t> resource, pugi::xml_document& doc, std::string* error) {
  const auto parsed =
      doc.load_buffer(resource.data(), resource.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    if (error) *error = std::string("layout resource does not parse: ") + parsed.description();
    return false;
  }
  if (std::strcmp(doc.document_element().name(), "dialogs") != 0) {
    if (error) *error = "layout resource is not a dialogs document";
    return false;
  }
  return true;
}

}  // namespace

const LayoutControl* DialogLayout::Find(std::u16string_view controlId) const {
  for (const LayoutControl& control : controls)
    if (control.id == controlId) return &control;
  return nullptr;
}

std::optional<DialogLayout> ParseDialogLayout(std::span<const uint8_t> resource,
                                              std::u16string_view dialogId, std::string* error) {
  pugi::xml_document doc;
  if (!LoadDocument(resource, doc, error)) return std::nullopt;
  const std::string id = base::LossyUtf8(dialogId);
  for (const pugi::xml_node& node : doc.document_element().children("dialog"))
    if (id == node.attribute("id").value()) return ReadDialog(node, error);
  if (error) *error = "no dialog " + id + " in the layout resource";
  return std::nullopt;
}

std::vector<std::u16string> DialogLayoutIds(std::span<const uint8_t> resource) {
  std::vector<std::u16string> ids;
  pugi::xml_document doc;
  if (!LoadDocument(resource, doc, nullptr)) return ids;
  for (const pugi::xml_node& node : doc.document_element().children("dialog"))
    ids.push_back(base::LossyUtf16(node.attribute("id").value()));
  return ids;
}

}  // namespace zelta::ui
