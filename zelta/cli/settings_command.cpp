#include <iostream>

#include "zelta/app/cab/cab_json.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"

namespace zelta::cli {

void AddSettingsCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("settings", "Show or reset the plug-in's stored settings");
  cmd->require_subcommand(1);
  auto* show = cmd->add_subcommand("show", "Print the plug-in's settings as JSON");
  auto* reset = cmd->add_subcommand("reset", "Restore the settings to their defaults");
  auto presets = std::make_shared<bool>(false);
  auto options = std::make_shared<bool>(false);
  auto* presetsFlag = reset->add_flag("--presets", *presets, "Only the preset lists");
  reset->add_flag("--options", *options, "Everything but the preset lists")->excludes(presetsFlag);

  show->callback([&common, status] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common)) return;
    auto root = session.PluginSettingsRoot();
    if (!root) {
      PrintError("the plug-in keeps no settings");
      *status = kExitFailed;
      return;
    }
    std::cout << app::CabToJson(root.Get()).dump(2) << "\n";
    *status = 0;
  });
  reset->callback([&common, status, presets, options] {
    *status = kExitUsage;
    Session session;
    if (!session.Start(common) || !session.Plugin()) return;
    uint32_t flags = *presets ? 1u : *options ? 2u : 0u;
    if (Failed(session.Plugin()->ResetSettings(flags)) || !session.SaveSettings()) {
      *status = kExitFailed;
      return;
    }
    std::cout << "Settings reset ("
              << (*presets   ? "preset lists"
                  : *options ? "options"
                             : "everything")
              << ") in " << session.Settings().Path() << "\n";
    *status = 0;
  });
}

}  // namespace zelta::cli
