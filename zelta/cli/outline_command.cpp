#include <iostream>

#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/pdf/outline_dump.h"

namespace zelta::cli {

void AddOutlineCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("outline", "Print the bookmark tree of a PDF file");
  struct Args {
    std::string file, password;
    bool json = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("FILE", args->file, "The PDF file")->required();
  cmd->add_flag("--json", args->json, "Every property of every bookmark, as JSON");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->callback([args, &common, status] {
    SessionOptions options = common;
    options.loadModule = false;
    Session session;
    if (!session.Start(options)) {
      *status = kExitUsage;
      return;
    }
    auto document = session.Open(args->file, args->password);
    if (!document) {
      *status = kExitUsage;
      return;
    }
    std::cout << (args->json ? pdf::OutlineToJson(document.Get()) + "\n"
                             : pdf::OutlineToText(document.Get()));
    *status = 0;
  });
}

}  // namespace zelta::cli
