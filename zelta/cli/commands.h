// The sub-commands of the zelta program. Each Add function registers one sub-command whose
// callback stores its exit status in *status.
#pragma once

#include <CLI/CLI.hpp>

#include "zelta/cli/session.h"

namespace zelta::cli {

void AddOutlineCommand(CLI::App& app, SessionOptions& common, int* status);
void AddRunCommand(CLI::App& app, SessionOptions& common, int* status);
void AddOptionsCommand(CLI::App& app, SessionOptions& common, int* status);
void AddCommandsCommand(CLI::App& app, SessionOptions& common, int* status);
void AddSettingsCommand(CLI::App& app, SessionOptions& common, int* status);
void AddResultCommand(CLI::App& app, SessionOptions& common, int* status);
void AddFontsCommand(CLI::App& app, SessionOptions& common, int* status);
void AddStyleCommand(CLI::App& app, SessionOptions& common, int* status);
void AddSuggestCommand(CLI::App& app, SessionOptions& common, int* status);
void AddImportCommand(CLI::App& app, SessionOptions& common, int* status);
void AddCheckCommand(CLI::App& app, SessionOptions& common, int* status);
void AddMacrosCommand(CLI::App& app, SessionOptions& common, int* status);

// The operations of the loaded module, one a line: abbreviation, menu text and id.
void PrintOperations(app::HostApp& app, std::ostream& out);

}  // namespace zelta::cli
