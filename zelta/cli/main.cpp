// zelta: a headless PDF application that runs the Bookmarks tools on PDF files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "zelta/cli/command_suggestion.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELTA_ADDRESS_SANITIZER 1
#endif
#endif

int main(int argc, char** argv) {
  using namespace zelta::cli;

  CLI::App app{
      "zelta: a headless PDF application with the Bookmarks tools for PDF outlines.\n"
      "`zelta help COMMAND` (or `zelta COMMAND --help`) describes a command; "
      "`zelta options OPERATION --explain` an operation's options.\n"
      "Exit status: 0 changed (or sound), 1 failed, 2 bad usage or unreadable input, 3 no "
      "changes, 4 `check` found invalid bookmarks."};
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", std::string("zelta ") + ZELTA_VERSION);
  SessionOptions common;
  // The program ends after one command: its documents need not be freed object by object.
  // Builds with the address sanitizer keep the teardown, which their checks run over.
#if !defined(__SANITIZE_ADDRESS__) && !defined(ZELTA_ADDRESS_SANITIZER)
  common.leaveAtExit = true;
#endif
  app.add_option("--settings", common.settingsPath,
                 "Settings file (default: $XDG_CONFIG_HOME/zelta/settings.json)");
  app.add_option("--module", common.modulePath,
                 "The Bookmarks module to load (default: libbookmarks.so beside the program)");

  int status = kExitUsage;
  AddOutlineCommand(app, common, &status);
  AddRunCommand(app, common, &status);
  AddCheckCommand(app, common, &status);
  AddImportCommand(app, common, &status);
  AddOptionsCommand(app, common, &status);
  AddCommandsCommand(app, common, &status);
  AddSettingsCommand(app, common, &status);
  AddResultCommand(app, common, &status);
  AddFontsCommand(app, common, &status);
  AddStyleCommand(app, common, &status);
  AddSuggestCommand(app, common, &status);
  AddMacrosCommand(app, common, &status);
  auto helpTopic = std::make_shared<std::string>();
  auto* help = app.add_subcommand(
      "help", "Describe the program, its commands and the module's operations, or one command");
  help->add_option("COMMAND", *helpTopic, "The command to describe");
  help->callback(
      [&app, helpTopic, &common, &status] { status = PrintHelp(app, *helpTopic, common); });

  // An unknown command would otherwise be reported as a missing one.
  if (int unknown = CheckCommandName(app, argc, argv); unknown != 0) return unknown;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  } catch (const std::bad_alloc&) {
    std::cerr << "zelta: out of memory\n";
    return kExitFailed;
  } catch (const std::exception& e) {
    std::cerr << "zelta: " << e.what() << "\n";
    return kExitFailed;
  }
  // What was printed is the command's result: output that never arrived (a full disk, a
  // closed pipe) is a failure, not a success.
  errno = 0;
  const bool printed = static_cast<bool>(std::cout.flush());
  if (std::fflush(stdout) != 0 || std::ferror(stdout) || !printed) {
    const int error = errno;
    std::cerr << "zelta: cannot write to standard output"
              << (error ? std::string(": ") + std::strerror(error) : "") << "\n";
    return kExitFailed;
  }
  return status;
}
