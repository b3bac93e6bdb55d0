// zelta: a headless PDF application that runs the Bookmarks tools on PDF files.
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

namespace {

// A run builds tens of megabytes of objects that live until it ends, and faulting them in a
// small page at a time cost a tenth of a long run. The heap grows in large steps instead,
// and the first one, made here, is one the kernel may back with huge pages.
void ReserveHeap() {
  constexpr size_t kStep = size_t{64} << 20, kHugePage = size_t{2} << 20;
  if (mallopt(M_TOP_PAD, static_cast<int>(kStep)) != 1) return;
  auto* const start = static_cast<char*>(sbrk(0));
  // Blocks small enough to come from the heap (larger ones are mapped apart), until one
  // extends it.
  void* blocks[8] = {};
  for (void*& block : blocks)
    if (static_cast<char*>(sbrk(0)) == start) block = std::malloc(120 * 1024);
  for (void* block : blocks) std::free(block);
  auto* const end = static_cast<char*>(sbrk(0));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
  if (end != reinterpret_cast<char*>(-1) && reinterpret_cast<uintptr_t>(end) > from)
    madvise(reinterpret_cast<void*>(from), reinterpret_cast<uintptr_t>(end) - from, MADV_HUGEPAGE);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zelta::cli;
#if !defined(__SANITIZE_ADDRESS__) && !defined(ZELTA_ADDRESS_SANITIZER)
  ReserveHeap();
#endif

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
