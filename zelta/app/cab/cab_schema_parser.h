// Reads the XML form of a Cab template into a CabSchema. Hostile templates are refused:
// reference cycles, dictionaries that contain themselves, deep or huge expansions, unknown
// types, defaults that do not parse, and default values nested too deep or grown too large
// all give E_FAIL with a reason.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/com.h"
#include "zelta/app/cab/cab_schema.h"

namespace zelta::app {

class CabSchemaParser {
 public:
  // Fills *schema from `text` (UTF-16 XML). E_FAIL with *error set when malformed.
  static HRESULT Parse(std::u16string_view text, CabSchema* schema, std::string* error);

 private:
  // One child of an ItemSet before references are expanded: an item or a referenced set.
  struct Entry {
    const CabItemDesc* item = nullptr;
    CabItemSet* ref = nullptr;
  };
  enum class State { kPending, kExpanding, kDone };
  struct SetInfo {
    CabItemSet* set = nullptr;
    pugi::xml_node node;
    std::vector<Entry> entries;
    State state = State::kPending;
  };

  explicit CabSchemaParser(CabSchema* schema) : schema_(schema) {}
  bool Fail(std::string message);
  bool Run(std::u16string_view text);
  bool CollectSets(pugi::xml_node root);
  bool ReadSetEntries(SetInfo& info);
  bool ReadItem(pugi::xml_node node, const std::u16string& setId, const CabItemDesc** item);
  bool ReadValueNames(pugi::xml_node node, const std::string& where, CabItemDesc* desc);
  bool Expand(SetInfo& info, int depth);
  bool CheckItemSets();
  bool CheckDictionaryNesting();
  bool ReadRoots(pugi::xml_node root);

  CabSchema* schema_;
  std::string error_;
  std::u16string stringPrefix_;  // the template's strings attribute
  std::unordered_map<std::u16string, SetInfo> sets_;
  std::unordered_map<const CabItemSet*, SetInfo*> infoBySet_;
};

}  // namespace zelta::app
