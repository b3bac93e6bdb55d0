#include <cctype>
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

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The title of the module command that opens an operation. The host learns nothing else of
// which command runs which operation, so the ids' last parts are matched: the same word
// ("cmd.bookmarksPlugin.validate", "op.bookmarks.validate"), else the longest one that holds
// the other ("sort" and "sortBookmarks", "bookmarksToNamedDests" and "toNamedDests").
std::string MenuText(app::HostApp& app, const std::string& operationId) {
  const std::string key = Folded(operationId.substr(operationId.rfind('.') + 1));
  std::string best;
  size_t bestLength = 0;
  ForEachModuleCommand(app, [&](Atom, const std::string& text, IHostCommand* command) {
    const std::string word = Folded(text.substr(text.rfind('.') + 1));
    const bool exact = word == key;
    if (!exact && (word.size() < 4 ||
                   (key.find(word) == std::string::npos && word.find(key) == std::string::npos)))
      return true;
    if (exact) {
      best = TitleOf(command);
      return false;
    }
    if (word.size() > bestLength) {
      best = TitleOf(command);
      bestLength = word.size();
    }
    return true;
  });
  return best;
}
}  // namespace

void PrintOperations(app::HostApp& app, std::ostream& out) {
  for (const OperationName& name : OperationNames(app)) {
    std::string menu = MenuText(app, name.id);
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
