#include "zelta/cli/operation_names.h"

#include <algorithm>
#include <cctype>

namespace zelta::cli {

const std::vector<OperationName>& OperationNames() {
  static const std::vector<OperationName> names = {
      {"CBC", "op.bookmarks.changeBookmarkCase"},
      {"FRT", "op.bookmarks.findReplaceBookmarkText"},
      {"ATB", "op.bookmarks.addTextToBookmarkTitle"},
      {"BND", "op.bookmarks.toNamedDests"},
      {"SB", "op.bookmarks.sortBookmarks"},
      {"VB", "op.bookmarks.validate"},
      {"BENP", "op.bookmarks.bookmarkEveryNthPage"},
      {"BFT", "op.bookmarks.fromTextFile"},
      {"AGB", "op.bookmarks.autoGenerateFromText"},
      {"ToTOC", "op.bookmarks.toTOC"},
      {"FromTOC", "op.bookmarks.fromTOC"},
  };
  return names;
}

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

std::optional<OperationName> FindOperation(std::string_view name) {
  for (const OperationName& op : OperationNames())
    if (name == op.id || EqualNoCase(name, op.abbreviation)) return op;
  return std::nullopt;
}

}  // namespace zelta::cli
