// `zelta macros [OPERATION]`: the title template macros, from the loaded module's own texts,
// and which options of an operation are templates.
#include <iostream>

#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"

namespace zelta::cli {

namespace {

constexpr const char* kMacrosId = "bookmarksPlugin.help.macros";

// The module's text of an id; empty when it has none.
std::string ModuleText(const app::HostApp& app, const std::string& id) {
  const std::string text = ToUtf8(app.String(id));
  return text == id ? std::string() : text;
}

std::string OperationsWithTemplates(const app::HostApp& app) {
  std::string list;
  for (const OperationName& name : OperationNames(app))
    if (!ModuleText(app, std::string(kMacrosId) + "." + name.abbreviation).empty())
      list += (list.empty() ? "" : ", ") + name.abbreviation;
  return list;
}

}  // namespace

int PrintMacros(const app::HostApp& app, const std::string& operation) {
  const std::string all = ModuleText(app, kMacrosId);
  if (all.empty()) {
    PrintError("the loaded module describes no title macros");
    return kExitFailed;
  }
  if (!operation.empty()) {
    auto op = FindOperation(app, operation);
    if (!op) {
      PrintError("unknown operation \"" + operation + "\" (the loaded module has " +
                 OperationNameList(app) + ")");
      return kExitUsage;
    }
    const std::string own = ModuleText(app, std::string(kMacrosId) + "." + op->abbreviation);
    if (own.empty()) {
      PrintError(op->abbreviation + " takes no title template (the operations with templates: " +
                 OperationsWithTemplates(app) + ")");
      return kExitUsage;
    }
    std::cout << op->abbreviation << ": " << own << "\n\n";
  }
  std::cout << all << "\n";
  if (operation.empty())
    std::cout << "\nTemplates of the operations (zelta macros OPERATION): "
              << OperationsWithTemplates(app) << "\n";
  return 0;
}

void AddMacrosCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "macros",
      "List the title template macros (%[Title], %[HierIndex], ...) with their parameters and "
      "examples, and which options of an operation are templates");
  auto operation = std::make_shared<std::string>();
  cmd->add_option("OPERATION", *operation,
                  "An operation with a title template (ATB, BND, BENP): its templates and the "
                  "macros it offers");
  cmd->callback([operation, &common, status] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common)) return;
    *status = PrintMacros(session.App(), *operation);
  });
}

}  // namespace zelta::cli
