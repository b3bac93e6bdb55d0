// A module string table (the "Localization" XML resource): parsed, checked and looked up by
// id. Ids are stored as written in the table, without the module namespace.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace bm::platform {

class StringTable {
 public:
  // Parses UTF-8 XML (a leading byte-order mark is allowed). On failure returns nullopt and,
  // when error is given, a message naming what is wrong: an XML error with its byte offset,
  // a missing element, or a text without an id or with an id given twice.
  static std::optional<StringTable> Parse(std::span<const uint8_t> xml, std::string* error);

  // The module namespace ("bookmarksPlugin") and the language code ("en-GB").
  const std::u16string& Namespace() const { return namespace_; }
  const std::u16string& Language() const { return language_; }

  // The text of an id without the namespace prefix; nullopt when absent.
  std::optional<std::u16string> Find(std::u16string_view id) const;
  size_t Size() const { return texts_.size(); }
  const std::map<std::u16string, std::u16string, std::less<>>& Texts() const { return texts_; }

 private:
  std::u16string namespace_;
  std::u16string language_;
  std::map<std::u16string, std::u16string, std::less<>> texts_;
};

}  // namespace bm::platform
