// The loaded modules' operations as the command line names them: by id or by the
// abbreviation each module gave at registration.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zelta/app/host_app.h"

namespace zelta::cli {

struct OperationName {
  std::string abbreviation;   // "CBC"
  std::string id;             // "op.bookmarks.changeBookmarkCase"
  bool readsOnly = false;     // the operation never changes the document
  bool validates = false;     // its output is a list of validation records
  bool changesPages = false;  // it may insert pages or make Link annotations
  Atom command = kNoAtom;     // the menu command that runs it
};

// Every operation a module registered with an abbreviation.
std::vector<OperationName> OperationNames(const app::HostApp& app);

// Finds an operation by id or by abbreviation (case-insensitive).
std::optional<OperationName> FindOperation(const app::HostApp& app, std::string_view name);

// The id of the first operation registered with all the trait bits (OperationTraits).
std::optional<std::string> FindOperationWithTraits(const app::HostApp& app, int32_t traits);

// "CBC, FRT, ..." for messages.
std::string OperationNameList(const app::HostApp& app);

}  // namespace zelta::cli
