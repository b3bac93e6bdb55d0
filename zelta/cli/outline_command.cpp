#include <iostream>

#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/pdf/outline/outline_dump.h"
#include "zelta/pdf/outline/outline_pdftk_export.h"
#include "zelta/pdf/outline/outline_text_export.h"

namespace zelta::cli {

namespace {

struct OutlineArgs {
  std::string file, password, separator = ";", actionSeparator = ",";
  bool json = false, text = false, pdftk = false, lossy = false, crlf = false, bom = false;
};

// One UTF-16 code unit given as a character; false (with a message) for anything else.
bool SeparatorOption(const std::string& text, const char* option, char16_t* out) {
  const std::u16string wide = ToUtf16(text);
  if (wide.size() != 1 || wide[0] == u'\r' || wide[0] == u'\n') {
    PrintError(std::string(option) + " takes one character (not a line break), got \"" + text +
               "\"");
    return false;
  }
  *out = wide[0];
  return true;
}

int PrintText(pdf::HostDocument* document, const OutlineArgs& args) {
  pdf::TextExportOptions options;
  options.crlf = args.crlf;
  options.bom = args.bom;
  if (!SeparatorOption(args.separator, "--separator", &options.separator) ||
      !SeparatorOption(args.actionSeparator, "--action-separator", &options.actionSeparator))
    return kExitUsage;
  if (options.separator == options.actionSeparator) {
    PrintError("--separator and --action-separator must differ");
    return kExitUsage;
  }
  std::vector<pdf::ExportNote> notes;
  const std::string text = pdf::OutlineToBookmarkText(document, options, &notes);
  for (const auto& note : notes)
    std::cerr << "zelta: " << (args.lossy ? "warning: " : "") << "bookmark " << note.position
              << " \"" << note.title << "\": " << note.text << "\n";
  if (!notes.empty() && !args.lossy) {
    PrintError(std::to_string(notes.size()) +
               " bookmark(s) would import differently from the text format; nothing was "
               "written (--lossy writes it anyway, --separator picks another delimiter)");
    return kExitFailed;
  }
  std::cout << text;
  return 0;
}

}  // namespace

void AddOutlineCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("outline", "Print the bookmark tree of a PDF file");
  auto args = std::make_shared<OutlineArgs>();
  cmd->add_option("FILE", args->file, "The PDF file")->required();
  auto* json = cmd->add_flag("--json", args->json,
                             "Every property of every bookmark, as JSON (zelta import reads it)");
  auto* text = cmd->add_flag(
      "--text", args->text,
      "The bookmark text-file format (UTF-8, tab indents, fields), as BFT and zelta import read "
      "it; fails, naming each bookmark, when the format cannot carry one exactly");
  auto* pdftk = cmd->add_flag(
      "--pdftk", args->pdftk,
      "pdftk's BookmarkBegin/Title/Level/PageNumber records (titles, levels and pages only)");
  json->excludes(text)->excludes(pdftk);
  text->excludes(pdftk);
  cmd->add_option("--separator", args->separator, "With --text: the field delimiter (default ;)")
      ->needs(text);
  cmd->add_option("--action-separator", args->actionSeparator,
                  "With --text: the separator inside an action's braces (default ,)")
      ->needs(text);
  cmd->add_flag("--crlf", args->crlf, "With --text: end lines with CR LF instead of LF")
      ->needs(text);
  cmd->add_flag("--bom", args->bom, "With --text: begin with the UTF-8 byte-order mark")
      ->needs(text);
  cmd->add_flag("--lossy", args->lossy,
                "With --text: write the text even where it cannot carry a bookmark exactly "
                "(each one is still named on stderr)")
      ->needs(text);
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
    *status = 0;
    if (args->text) {
      *status = PrintText(document.Get(), *args);
    } else if (args->pdftk) {
      size_t dropped = 0;
      std::cout << pdf::OutlineToPdftkData(document.Get(), &dropped);
      if (dropped)
        PrintError("note: " + std::to_string(dropped) +
                   " bookmark(s) have styles, colours or actions beyond a page, which pdftk "
                   "data does not hold");
    } else {
      std::cout << (args->json ? pdf::OutlineToJson(document.Get()) + "\n"
                               : pdf::OutlineToText(document.Get()));
    }
  });
}

}  // namespace zelta::cli
