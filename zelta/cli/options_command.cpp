#include <iostream>

#include "zelta/app/cab_json.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"

namespace zelta::cli {

void AddOptionsCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("options", "Print an operation's options as JSON");
  struct Args {
    std::string operation;
    bool defaults = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("OPERATION", args->operation, "Operation id or abbreviation")->required();
  cmd->add_flag("--defaults", args->defaults,
                "The defaults instead of the stored last used options");
  cmd->callback([args, &common, status] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common)) return;
    auto op = FindOperation(session.App(), args->operation);
    if (!op) {
      PrintError("unknown operation \"" + args->operation + "\"");
      return;
    }
    ComPtr<ICabItem> options;
    if (args->defaults) {
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
    std::cout << app::CabToJson(options.Get()).dump() << "\n";
    *status = 0;
  });
}

}  // namespace zelta::cli
