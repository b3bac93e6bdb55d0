#include <iomanip>
#include <iostream>

#include "host/ui.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"

namespace zelta::cli {

namespace {
// Calls visit(id, id text, command) for each registered command that a module handles (the
// host's own commands have no handler) until visit returns false.
template <typename Visit>
void ForEachModuleCommand(app::HostApp& app, Visit visit) {
  auto registry = app.Ui().Registry();
  int32_t count = 0;
  registry->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<IHostCommand> command;
    if (registry->GetItem(i, command.Put()) != S_OK) continue;
    Atom id = kNoAtom;
    command->GetId(&id);
    auto own = registry->Find(id);
    if (!own || !own->Handler()) continue;
    OwnedString idText;
    app.GetAtomText(id, idText.Put());
    if (!visit(id, ToUtf8(idText.View()), command.Get())) return;
  }
}

std::string TitleOf(IHostCommand* command) {
  OwnedString title;
  command->GetTitle(title.Put());
  return ToUtf8(title.View());
}

void PrintPluginCommands(app::HostApp& app) {
  ForEachModuleCommand(app, [&](Atom id, const std::string& idText, IHostCommand* command) {
    const bool enabled = app.CommandState(id) == kCommandEnabled;
    std::cout << idText << "\t" << TitleOf(command) << "\t" << (enabled ? "enabled" : "disabled")
              << "\n";
    return true;
  });
}

// The menu title of the command that runs an operation; empty for none.
std::string MenuText(app::HostApp& app, Atom command) {
  ComPtr<IHostCommand> found;
  if (command == kNoAtom || app.Ui().Registry()->FindCommand(command, found.Put()) != S_OK ||
      !found)
    return {};
  return TitleOf(found.Get());
}
}  // namespace

void PrintOperations(app::HostApp& app, std::ostream& out) {
  for (const OperationName& name : OperationNames(app)) {
    std::string menu = MenuText(app, name.command);
    if (menu.empty()) menu = "(no menu command)";
    out << "  " << std::left << std::setw(9) << name.abbreviation << std::setw(44) << menu
        << name.id << "\n";
  }
}

void AddCommandsCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "commands", "List the plug-in's commands, their state and the menus they are in");
  struct Args {
    std::string file, password;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("FILE", args->file,
                  "A PDF to open first (commands that need a document are enabled)");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->callback([args, &common, status] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common)) return;
    if (!args->file.empty() && !session.Open(args->file, args->password)) return;
    std::cout << "Commands:\n";
    PrintPluginCommands(session.App());
    std::cout << "\n" << session.App().PrintCommands();
    *status = 0;
  });
}

}  // namespace zelta::cli
