// The localised strings the host serves: its own table and the tables modules register.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/com.h"

namespace zelta::app {

class StringTables {
 public:
  StringTables();

  // Parses a module's `Localization` table (UTF-8, with or without a byte-order mark) and
  // serves each `text` as "<Module namespace>.<id>". The whole table is taken or nothing:
  // E_INVALIDARG when it does not parse, has no module namespace, or is not a Localization
  // table; *error (may be null) then says why. A later table replaces earlier texts of the
  // same ids.
  HRESULT Register(const uint8_t* xml, size_t size, std::string* error);

  // The host's own strings come first, so a module cannot change the host's buttons.
  std::optional<std::u16string> Find(std::u16string_view id) const;
  size_t Size() const { return strings_.size(); }

 private:
  std::unordered_map<std::u16string, std::u16string> strings_;
  std::unordered_map<std::u16string, std::u16string> hostStrings_;
};

}  // namespace zelta::app
