#include <iostream>

#include "zelta/app/cab/cab_json.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"
#include "zelta/cli/option_notes.h"

namespace zelta::cli {

void AddOptionsCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "options",
      "Print an operation's options as JSON: the last used ones (stored by every successful "
      "run), or the defaults; --explain says what each means");
  struct Args {
    std::string operation;
    bool defaults = false, compact = false, explain = false, list = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("OPERATION", args->operation, "Operation id or abbreviation");
  cmd->add_flag("--list", args->list,
                "List the operations: abbreviation and id, one a line (tab-separated)");
  cmd->add_flag("--defaults", args->defaults,
                "The defaults instead of the stored last used options");
  cmd->add_flag("--compact", args->compact, "One line of JSON, for scripts");
  cmd->add_flag("--explain", args->explain,
                "Every option with its type, default and meaning, and the names of its flag bits "
                "and values (which --set also accepts, e.g. --set Flags=upper)");
  cmd->callback([args, &common, status] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common)) return;
    if (args->list) {
      for (const OperationName& name : OperationNames(session.App()))
        std::cout << name.abbreviation << "\t" << name.id << "\n";
      *status = 0;
      return;
    }
    if (args->operation.empty()) {
      PrintError("options needs an OPERATION (one of " + OperationNameList(session.App()) + ")");
      return;
    }
    auto op = FindOperation(session.App(), args->operation);
    if (!op) {
      PrintError("unknown operation \"" + args->operation + "\" (the loaded module has " +
                 OperationNameList(session.App()) + ")");
      return;
    }
    ComPtr<ICabItem> options;
    if (args->defaults || args->explain) {
      std::u16string id = ToUtf16(op->id);
      Atom atom = kNoAtom;
      session.App().InternString(id.c_str(), -1, &atom);
      ComPtr<IHostOperation> operation;
      ComPtr<ICab> params;
      ComPtr<ICabItem> root;
      if (Failed(session.App().CreateOperation(atom, operation.Put())) || !operation ||
          Failed(operation->GetParams(params.Put())) || !params ||
          Failed(params->GetRoot(root.Put()))) {
        PrintError("the operation " + std::string(op->abbreviation) + " is not available");
        return;
      }
      root->GetItem(u"Options", options.Put());
    } else if (auto root = session.PluginSettingsRoot()) {
      std::u16string name = ToUtf16(std::string(op->abbreviation) + "LastUsedOptions");
      root->GetItem(name.c_str(), options.Put());
    }
    if (!options) {
      PrintError("no options for " + std::string(op->abbreviation));
      *status = kExitFailed;
      return;
    }
    if (args->explain) {
      std::cout << op->abbreviation << " (" << op->id << ") options:\n\n";
      ExplainOptions(session.App(), options.Get(), op->abbreviation, std::cout);
      const std::string templates = "bookmarksPlugin.help.macros." + op->abbreviation;
      if (const std::string text = ToUtf8(session.App().String(templates)); text != templates)
        std::cout << "\nTitle templates: " << text << "\nzelta macros " << op->abbreviation
                  << " lists every macro with its parameter and an example.\n";
    } else {
      std::cout << app::CabToJson(options.Get()).dump(args->compact ? -1 : 2) << "\n";
    }
    *status = 0;
  });
}

}  // namespace zelta::cli
