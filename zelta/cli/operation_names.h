// The plug-in's operations as the command line names them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelta::cli {

struct OperationName {
  const char* abbreviation;  // "CBC"
  const char* id;            // "op.bookmarks.changeBookmarkCase"
};

// Every operation id with its abbreviation.
const std::vector<OperationName>& OperationNames();

// Finds an operation by id or by abbreviation (case-insensitive).
std::optional<OperationName> FindOperation(std::string_view name);

}  // namespace zelta::cli
