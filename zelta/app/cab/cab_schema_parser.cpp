#include "zelta/app/cab/cab_schema_parser.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_item.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

// Bounds that keep a hostile template from exhausting the stack or memory.
constexpr size_t kMaxTemplateUnits = 16u << 20;
constexpr int kMaxRefDepth = 32;
constexpr size_t kMaxSetItems = 65536;

std::string Quote(std::u16string_view id) { return "'" + base::LossyUtf8(id) + "'"; }

int32_t TypeCode(std::string_view name) {
  if (name == "String") return kCabString;
  if (name == "Int") return kCabInt;
  if (name == "Double") return kCabDouble;
  if (name == "Bool") return kCabBool;
  if (name == "Array") return kCabArray;
  if (name == "Dictionary") return kCabDictionary;
  if (name == "IUnknown") return kCabUnknown;
  return kCabEmpty;
}

// Attribute text as UTF-16; the document was converted from valid UTF-16, so it is valid.
std::u16string Attr(pugi::xml_node node, const char* name) {
  return base::StrictUtf16(node.attribute(name).as_string()).value_or(std::u16string());
}

}  // namespace

HRESULT CabSchemaParser::Parse(std::u16string_view text, CabSchema* schema, std::string* error) {
  if (!schema) return E_POINTER;
  if (text.empty()) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    CabSchemaParser parser(schema);
    if (parser.Run(text)) return S_OK;
    if (error) *error = parser.error_;
    return E_FAIL;
  });
}

bool CabSchemaParser::Fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool CabSchemaParser::Run(std::u16string_view text) {
  if (!text.empty() && text.front() == u'\uFEFF') text.remove_prefix(1);
  if (text.size() > kMaxTemplateUnits) return Fail("the template is larger than 16 Mi characters");
  auto utf8 = base::StrictUtf8(text);
  if (!utf8) return Fail("the template text is not valid UTF-16");
  pugi::xml_document doc;
  pugi::xml_parse_result parsed =
      doc.load_buffer(utf8->data(), utf8->size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed)
    return Fail("XML error at offset " + std::to_string(parsed.offset) + ": " +
                parsed.description());
  pugi::xml_node root = doc.document_element();
  if (std::string_view(root.name()) != "CabTemplate")
    return Fail("the document element is '" + std::string(root.name()) + "', not 'CabTemplate'");
  stringPrefix_ = Attr(root, "strings");
  if (!CollectSets(root)) return false;
  for (auto& [id, info] : sets_)
    if (!ReadSetEntries(info)) return false;
  for (auto& [id, info] : sets_)
    if (!Expand(info, 0)) return false;
  return CheckItemSets() && CheckDictionaryNesting() && ReadRoots(root);
}

bool CabSchemaParser::CollectSets(pugi::xml_node root) {
  for (pugi::xml_node child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view name = child.name();
    if (name == "Root") continue;
    if (name != "ItemSet")
      return Fail("unknown element '" + std::string(name) + "' in CabTemplate");
    std::u16string id = Attr(child, "id");
    if (id.empty()) return Fail("an ItemSet has no id");
    if (sets_.count(id)) return Fail("item set " + Quote(id) + " is declared twice");
    CabItemSet& set = schema_->sets_.emplace_back();
    set.id = id;
    SetInfo& info = sets_[id];
    info.set = &set;
    info.node = child;
    infoBySet_[&set] = &info;
  }
  return true;
}

bool CabSchemaParser::ReadSetEntries(SetInfo& info) {
  for (pugi::xml_node child : info.node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view name = child.name();
    Entry entry;
    if (name == "Item") {
      if (!ReadItem(child, info.set->id, &entry.item)) return false;
    } else if (name == "ItemSetRef") {
      auto found = sets_.find(Attr(child, "id"));
      if (found == sets_.end())
        return Fail("item set " + Quote(info.set->id) + " refers to the unknown set " +
                    Quote(Attr(child, "id")));
      entry.ref = found->second.set;
    } else {
      return Fail("unknown element '" + std::string(name) + "' in item set " + Quote(info.set->id));
    }
    info.entries.push_back(entry);
  }
  return true;
}

bool CabSchemaParser::ReadItem(pugi::xml_node node, const std::u16string& setId,
                               const CabItemDesc** item) {
  CabItemDesc desc;
  desc.id = Attr(node, "id");
  if (!stringPrefix_.empty() && !desc.id.empty())
    desc.textId = stringPrefix_ + u"." + setId + u"." + desc.id;
  std::string typeName = node.attribute("type").as_string();
  desc.type = TypeCode(typeName);
  std::string where = "item " + (desc.id.empty() ? std::string("(element)") : Quote(desc.id));
  if (desc.type == kCabEmpty) return Fail(where + " has the unknown type '" + typeName + "'");
  pugi::xml_attribute defVal = node.attribute("defVal");
  std::string_view def = defVal.as_string();
  bool badDefault = false;
  switch (desc.type) {
    case kCabInt:
      badDefault = defVal && !ParseCabInt(def, &desc.intDefault);
      break;
    case kCabDouble:
      badDefault = defVal && !ParseCabDouble(def, &desc.doubleDefault);
      break;
    case kCabBool:
      desc.boolDefault = def == "true";
      badDefault = defVal && def != "true" && def != "false";
      break;
    case kCabString:
      desc.textDefault = Attr(node, "defVal");
      break;
    case kCabDictionary:
    case kCabArray: {
      auto found = sets_.find(Attr(node, "itemSet"));
      if (found == sets_.end())
        return Fail(where + " refers to the unknown item set " + Quote(Attr(node, "itemSet")));
      desc.inner = found->second.set;
      break;
    }
    default:
      break;
  }
  if (badDefault)
    return Fail(where + ": the default '" + std::string(def) + "' is not a valid " + typeName);
  if (!ReadValueNames(node, where, &desc)) return false;
  *item = &schema_->descs_.emplace_back(std::move(desc));
  return true;
}

// The Bit and Value children of an Int item, and the needs and required attributes.
bool CabSchemaParser::ReadValueNames(pugi::xml_node node, const std::string& where,
                                     CabItemDesc* desc) {
  const std::u16string needs = Attr(node, "needs");
  if (!needs.empty()) {
    const size_t colon = needs.find(u':');
    if (colon == std::u16string::npos || colon == 0 || colon + 1 == needs.size())
      return Fail(where + ": needs is not FLAGS:NAME");
    desc->needsFlags = needs.substr(0, colon);
    desc->needsBit = needs.substr(colon + 1);
  }
  desc->requiresBit = std::string_view(node.attribute("required").as_string()) == "bit";
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view kind = child.name();
    if (kind != "Bit" && kind != "Value")
      return Fail("unknown element '" + std::string(kind) + "' in " + where);
    if (desc->type != kCabInt) return Fail(where + " names values but is not an Int");
    CabValueName value;
    value.bit = kind == "Bit";
    value.name = Attr(child, "name");
    if (value.name.empty()) return Fail("a " + std::string(kind) + " of " + where + " has no name");
    const std::string_view number = child.attribute("value").as_string();
    const std::string_view mask = child.attribute("mask").as_string();
    if (!ParseCabInt(number, &value.value) || (!mask.empty() && !ParseCabInt(mask, &value.mask)))
      return Fail(where + ": the value of " + Quote(value.name) + " is not an integer");
    if (value.bit) value.mask = value.value;
    if (!mask.empty() && (value.value & ~value.mask) != 0)
      return Fail(where + ": " + Quote(value.name) + " lies outside its mask");
    for (const CabValueName& other : desc->valueNames)
      if (other.name == value.name) return Fail(where + " names " + Quote(value.name) + " twice");
    if (!desc->textId.empty()) value.textId = desc->textId + u"." + value.name;
    desc->valueNames.push_back(std::move(value));
  }
  return true;
}

// Expands the ItemSetRefs of a set in place, depth first; a set met again while it is being
// expanded is a reference cycle.
bool CabSchemaParser::Expand(SetInfo& info, int depth) {
  if (info.state == State::kDone) return true;
  if (info.state == State::kExpanding)
    return Fail("item set " + Quote(info.set->id) + " refers to itself through ItemSetRef");
  if (depth > kMaxRefDepth)
    return Fail("ItemSetRef nesting is deeper than 32 at " + Quote(info.set->id));
  info.state = State::kExpanding;
  std::vector<const CabItemDesc*>& items = info.set->items;
  for (const Entry& entry : info.entries) {
    if (entry.item) {
      items.push_back(entry.item);
    } else {
      SetInfo& referenced = *infoBySet_.at(entry.ref);
      if (!Expand(referenced, depth + 1)) return false;
      if (items.size() + entry.ref->items.size() > kMaxSetItems)
        return Fail("item set " + Quote(info.set->id) + " has more than 65536 items");
      items.insert(items.end(), entry.ref->items.begin(), entry.ref->items.end());
    }
  }
  info.state = State::kDone;
  return true;
}

// Field names must be unique within a set; an array's set must hold exactly one item, and a
// dictionary's fields must all be named.
bool CabSchemaParser::CheckItemSets() {
  for (const CabItemSet& set : schema_->sets_) {
    std::unordered_set<std::u16string_view> seen;
    for (const CabItemDesc* item : set.items)
      if (!seen.insert(item->id).second)
        return Fail("item set " + Quote(set.id) + " has more than one item " +
                    (item->id.empty() ? std::string("without id") : Quote(item->id)));
  }
  for (const CabItemDesc& desc : schema_->descs_) {
    if (desc.type == kCabArray && !desc.inner->Element())
      return Fail("array item " + Quote(desc.id) + ": item set " + Quote(desc.inner->id) +
                  " must hold exactly one element item");
    if (desc.type == kCabDictionary && desc.inner->Find(u""))
      return Fail("dictionary item " + Quote(desc.id) + ": item set " + Quote(desc.inner->id) +
                  " has an item without id");
  }
  return true;
}

// A set that contains itself through Dictionary items would have an infinite default value.
// Arrays start empty, so a cycle through an Array is a legitimate recursive structure. The
// same walk measures each set's default value (items and nesting), so that a template whose
// defaults are too deep or grow exponentially is refused here rather than half built later.
// Iterative depth-first search with colours, so a long chain cannot overflow the stack.
bool CabSchemaParser::CheckDictionaryNesting() {
  enum Colour { kWhite, kGrey, kBlack };
  struct Measure {
    Colour colour = kWhite;
    size_t items = 0;  // saturates just past the creation limit
    int depth = 0;
  };
  std::unordered_map<const CabItemSet*, Measure> measures;
  struct Frame {
    const CabItemSet* set;
    size_t next;
  };
  for (const CabItemSet& start : schema_->sets_) {
    if (measures[&start].colour != kWhite) continue;
    std::vector<Frame> stack{{&start, 0}};
    measures[&start].colour = kGrey;
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.next == top.set->items.size()) {
        Measure& done = measures[top.set];
        for (const CabItemDesc* item : top.set->items) {
          const Measure* inner = item->type == kCabDictionary ? &measures[item->inner] : nullptr;
          done.items = std::min(done.items + 1 + (inner ? inner->items : 0),
                                CabItem::kMaxItemsPerCreation + 1);
          done.depth = std::max(done.depth, 1 + (inner ? inner->depth : 0));
        }
        if (done.depth > CabItem::kMaxDepth)
          return Fail("item set " + Quote(top.set->id) + " nests dictionaries deeper than " +
                      std::to_string(CabItem::kMaxDepth) + " levels");
        if (done.items > CabItem::kMaxItemsPerCreation)
          return Fail("item set " + Quote(top.set->id) + " has more than " +
                      std::to_string(CabItem::kMaxItemsPerCreation) +
                      " items with its dictionaries");
        done.colour = kBlack;
        stack.pop_back();
        continue;
      }
      const CabItemDesc* item = top.set->items[top.next++];
      if (item->type != kCabDictionary) continue;
      Measure& inner = measures[item->inner];
      if (inner.colour == kGrey)
        return Fail("item set " + Quote(item->inner->id) +
                    " contains itself through dictionary item " + Quote(item->id));
      if (inner.colour == kWhite) {
        inner.colour = kGrey;
        stack.push_back({item->inner, 0});  // invalidates `top`; it is not used again
      }
    }
  }
  return true;
}

bool CabSchemaParser::ReadRoots(pugi::xml_node root) {
  for (pugi::xml_node node : root.children("Root")) {
    std::u16string id = Attr(node, "id");
    if (id.empty()) return Fail("a Root has no id");
    if (std::string_view(node.attribute("type").as_string()) != "Dictionary")
      return Fail("root " + Quote(id) + " is not of type Dictionary");
    auto found = sets_.find(Attr(node, "itemSet"));
    if (found == sets_.end())
      return Fail("root " + Quote(id) + " refers to the unknown item set " +
                  Quote(Attr(node, "itemSet")));
    if (found->second.set->Find(u""))
      return Fail("root " + Quote(id) + ": item set " + Quote(found->second.set->id) +
                  " has an item without id");
    if (schema_->roots_.count(id)) return Fail("root " + Quote(id) + " is declared twice");
    CabItemDesc& desc = schema_->descs_.emplace_back();
    desc.id = id;
    desc.type = kCabDictionary;
    desc.inner = found->second.set;
    schema_->roots_.emplace(std::move(id), &desc);
  }
  return true;
}

}  // namespace zelta::app
