#include "zelta/cli/command_suggestion.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/session.h"

namespace zelta::cli {
namespace {

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      const size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

std::vector<std::string> CommandNames(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
  return names;
}

// Options of the program itself that take a value (the word after them is no command).
bool TakesValue(std::string_view option) { return option == "--settings" || option == "--module"; }

}  // namespace

std::string NearestName(std::string_view word, const std::vector<std::string>& candidates) {
  std::string best;
  size_t bestDistance = std::string::npos;
  for (const std::string& candidate : candidates) {
    size_t distance = EditDistance(word, candidate);
    // A prefix of a command ("sugg") is as good as a typo.
    if (candidate.size() > word.size() && word.size() >= 2 &&
        EditDistance(word, candidate.substr(0, word.size())) == 0)
      distance = 1;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate;
    }
  }
  // Near enough: at most a third of the word wrong, and never a whole short word.
  return bestDistance <= std::max<size_t>(1, word.size() / 3) ? best : std::string();
}

int CheckCommandName(CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word.starts_with("-")) {
      if (TakesValue(word)) ++i;
      continue;
    }
    const std::vector<std::string> names = CommandNames(app);
    if (std::find(names.begin(), names.end(), word) != names.end()) return 0;
    std::string message = "unknown command \"" + std::string(word) + "\"";
    if (const std::string nearest = NearestName(word, names); !nearest.empty())
      message += "; did you mean \"" + nearest + "\"?";
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    PrintError(message + " (the commands are " + list + "; zelta help lists them)");
    return kExitUsage;
  }
  return 0;
}

int PrintHelp(CLI::App& app, const std::string& command, const SessionOptions& common) {
  if (command.empty()) {
    // Asked of the program itself: app.help() would describe the selected `help` command.
    std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
    Session session;
    if (!session.Start(common)) return kExitUsage;
    std::cout << "\nOperations (zelta run OPERATION FILE; zelta options OPERATION --explain for "
                 "their options, zelta macros for title templates):\n";
    PrintOperations(session.App(), std::cout);
    return kExitChanged;
  }
  for (CLI::App* sub : app.get_subcommands({}))
    if (sub->get_name() == command) {
      std::cout << sub->help();
      return kExitChanged;
    }
  std::string message = "no command \"" + command + "\"";
  if (const std::string nearest = NearestName(command, CommandNames(app)); !nearest.empty())
    message += "; did you mean \"" + nearest + "\"?";
  PrintError(message);
  return kExitUsage;
}

}  // namespace zelta::cli
