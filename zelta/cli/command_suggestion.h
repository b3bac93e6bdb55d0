// Help for people who mistype: the nearest command to an unknown one, and `zelta help`.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "zelta/cli/session.h"

namespace zelta::cli {

// The candidate nearest to `word` by edit distance (case-insensitive), or empty when none is
// near enough to be a likely typo.
std::string NearestName(std::string_view word, const std::vector<std::string>& candidates);

// Before parsing: when the first word that is not an option names no command, prints which
// command was meant and returns the usage status; 0 otherwise.
int CheckCommandName(CLI::App& app, int argc, char** argv);

// `zelta help [COMMAND]`: a command's help on standard output; without one, the program's,
// which lists every command, then the loaded module's operations.
int PrintHelp(CLI::App& app, const std::string& command, const SessionOptions& common);

}  // namespace zelta::cli
