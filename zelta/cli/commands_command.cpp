#include <iostream>

#include "host/ui.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"

namespace zelta::cli {

namespace {
// The modules' commands: every registered command that a module handles (the host's own
// commands have no handler).
void PrintPluginCommands(app::HostApp& app) {
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
    OwnedString idText, title;
    app.GetAtomText(id, idText.Put());
    command->GetTitle(title.Put());
    bool enabled = app.CommandState(id) == kCommandEnabled;
    std::cout << ToUtf8(idText.View()) << "\t" << ToUtf8(title.View()) << "\t"
              << (enabled ? "enabled" : "disabled") << "\n";
  }
}
}  // namespace

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
