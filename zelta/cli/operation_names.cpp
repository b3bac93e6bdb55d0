#include "zelta/cli/operation_names.h"

#include <algorithm>
#include <cctype>

#include "zelta/base/atom_table.h"
#include "zelta/cli/session.h"

namespace zelta::cli {

std::vector<OperationName> OperationNames(const app::HostApp& app) {
  std::vector<OperationName> names;
  for (const auto& op : app.Operations().ModuleOperations()) {
    if (op.abbreviation.empty()) continue;
    auto id = base::AtomTable::Global().Text(op.id);
    if (!id) continue;
    names.push_back({ToUtf8(op.abbreviation), ToUtf8(*id), (op.traits & kOperationReadsOnly) != 0,
                     (op.traits & kOperationOutputsValidationRecords) != 0,
                     (op.traits & kOperationChangesPages) != 0, op.command});
  }
  return names;
}

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

std::optional<OperationName> FindOperation(const app::HostApp& app, std::string_view name) {
  for (OperationName& op : OperationNames(app))
    if (name == op.id || EqualNoCase(name, op.abbreviation)) return std::move(op);
  return std::nullopt;
}

std::optional<std::string> FindOperationWithTraits(const app::HostApp& app, int32_t traits) {
  for (const auto& op : app.Operations().ModuleOperations()) {
    if ((op.traits & traits) != traits) continue;
    if (auto id = base::AtomTable::Global().Text(op.id)) return ToUtf8(*id);
  }
  return std::nullopt;
}

std::string OperationNameList(const app::HostApp& app) {
  std::string list;
  for (const OperationName& op : OperationNames(app))
    list += (list.empty() ? "" : ", ") + op.abbreviation;
  return list;
}

}  // namespace zelta::cli
