// `zelta suggest FILE [--explain]`: the generation options that the document's own typography
// suggests, as JSON for `zelta run ... --options`, or the reasons for them.
#include <iostream>

#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/suggested_options.h"

namespace zelta::cli {

namespace {

struct SuggestArgs {
  std::string file, password;
  bool explain = false, quiet = false, force = false;
};

int Suggest(const SuggestArgs& args, const SessionOptions& common) {
  SessionOptions options = common;
  options.quiet = options.quiet || args.quiet;
  Session session;
  if (!session.Start(options)) return kExitUsage;
  auto document = session.Open(args.file, args.password);
  if (!document) return kExitUsage;
  SuggestedOptions suggestion;
  if (!SuggestOptions(session.App(), static_cast<IHostDocument*>(document.Get()),
                      options.quiet ? kDoNoProgress : 0, &suggestion))
    return kExitFailed;
  const bool unsure = suggestion.found && !suggestion.doubt.empty() && !args.force;
  if (args.explain) {
    std::cout << suggestion.explanation;
  } else if (unsure) {
    PrintError(UnsureMessage(args.file, suggestion));
  } else if (suggestion.found) {
    std::cout << SuggestedOptionsJson(suggestion).dump(2) << "\n";
    if (!suggestion.warning.empty())
      PrintError("warning: " + args.file + ": " + suggestion.warning);
  } else {
    // The last finding says why nothing was found.
    std::string why = suggestion.explanation;
    while (!why.empty() && why.back() == '\n') why.pop_back();
    PrintError(args.file + ": " + why.substr(why.rfind('\n') + 1));
  }
  return suggestion.found && !unsure ? kExitChanged : kExitNoChange;
}

}  // namespace

void AddSuggestCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "suggest",
      "Suggest generation options (levels, pages) from the document's own typography, as JSON "
      "for run --options; exit status 3 when the document shows no headings or the headings "
      "found are unsure");
  auto args = std::make_shared<SuggestArgs>();
  cmd->add_option("FILE", args->file, "The PDF file")->required();
  cmd->add_flag("--explain", args->explain,
                "Print which styles became which level and what was left out, and why");
  cmd->add_flag("--force", args->force,
                "Print the options even when the suggestion is unsure (exit status 0)");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->add_flag("--quiet", args->quiet, "No progress bar");
  cmd->callback([args, &common, status] { *status = Suggest(*args, common); });
}

}  // namespace zelta::cli
