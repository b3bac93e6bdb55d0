#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "zelta/app/cab_json.h"
#include "zelta/app/json_text.h"
#include "zelta/app/text_selection.h"
#include "zelta/base/result_text.h"
#include "zelta/cli/bookmark_path.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/file_checks.h"
#include "zelta/cli/operation_names.h"
#include "zelta/cli/suggested_options.h"
#include "zelta/cli/validation_output.h"

namespace zelta::cli {

namespace {

struct RunArgs {
  std::string operation, file, output, optionsFile, password, selectBookmarks;
  std::vector<std::string> sets;
  std::vector<std::string> selectText;  // "PAGE[:x0,y0,x1,y1]" each
  std::string pages;                    // --pages: PagesRange type 1 with this text
  bool last = false, json = false, quiet = false, overwriteInput = false, autoOptions = false;
};

// Options files hold a few kilobytes; the bound keeps a runaway file from costing gigabytes
// of memory and a run that makes huge titles.
constexpr std::uintmax_t kMaxOptionsFileSize = 16u << 20;

// An argument as it may be echoed in a message: each malformed UTF-8 byte becomes U+FFFD.
std::string Printable(std::string_view text) {
  std::string out;
  for (size_t bad; (bad = app::FirstInvalidUtf8(text)) != std::string_view::npos;
       text.remove_prefix(bad + 1))
    out.append(text.substr(0, bad)).append("\xEF\xBF\xBD");
  return out.append(text);
}

Atom Intern(app::HostApp& app, std::string_view text) {
  std::u16string wide = ToUtf16(text);
  Atom atom = kNoAtom;
  app.InternString(wide.c_str(), static_cast<int32_t>(wide.size()), &atom);
  return atom;
}

// Fills the operation's "Options" from the stored last used options, a JSON file and --set.
// The suggested options (--auto) come after the stored ones, so that a file and --set still
// adjust them.
bool FillOptions(Session& session, const RunArgs& args, const OperationName& op,
                 const nlohmann::ordered_json& suggested, ICabItem* options) {
  std::string error;
  if (args.last) {
    ComPtr<ICabItem> stored;
    if (auto root = session.PluginSettingsRoot()) {
      std::u16string name = ToUtf16(std::string(op.abbreviation) + "LastUsedOptions");
      root->GetItem(name.c_str(), stored.Put());
    }
    if (stored && Failed(options->CopyFrom(stored.Get()))) {
      PrintError("the stored last used options of " + std::string(op.abbreviation) + " do not fit");
      return false;
    }
  }
  if (!suggested.is_null() &&
      Failed(app::CabFromJson(options, nlohmann::json::parse(suggested.dump()), &error))) {
    PrintError("--auto: the suggested options do not fit: " + error);
    return false;
  }
  if (!args.optionsFile.empty()) {
    std::string text;
    if (!ReadBoundedFile(args.optionsFile, kMaxOptionsFileSize, "options file", &text))
      return false;
    nlohmann::json json;
    if (!app::ParseJsonText(text, &json, &error)) {
      PrintError(args.optionsFile + ": " + error);
      return false;
    }
    if (Failed(app::CabFromJson(options, json, &error))) {
      PrintError(args.optionsFile + ": " + error);
      return false;
    }
  }
  for (const std::string& set : args.sets) {
    size_t eq = set.find('=');
    if (eq == std::string::npos || eq == 0) {
      PrintError("--set needs PATH=VALUE, got \"" + Printable(set) + "\"");
      return false;
    }
    if (Failed(app::CabSetPath(options, std::string_view(set).substr(0, eq),
                               std::string_view(set).substr(eq + 1), &error))) {
      PrintError("--set " + Printable(set) + ": " + error);
      return false;
    }
  }
  return true;
}

// "Input" is an array of objects or a single object, by the operation's template.
HRESULT SetInput(ICabItem* root, const std::vector<ComPtr<IUnknown>>& objects) {
  ComPtr<ICabItem> input;
  if (root->GetItem(u"Input", input.Put()) != S_OK) return E_FAIL;
  int32_t type = 0;
  input->GetType(&type);
  if (type == kCabUnknown)
    return input->SetObject(nullptr, objects.empty() ? nullptr : objects.front().Get());
  if (type != kCabArray) return E_FAIL;
  HRESULT hr = input->Clear();
  for (size_t i = 0; Succeeded(hr) && i < objects.size(); ++i) {
    ComPtr<ICabItem> element;
    hr = input->Insert(-1, element.Put());
    if (Succeeded(hr)) hr = element->SetObject(nullptr, objects[i].Get());
  }
  return hr;
}

// The run's "Output" as JSON: bookmarks by title and position, other values as they are.
nlohmann::ordered_json OutputJson(ICabItem* root) {
  ComPtr<ICabItem> output;
  if (root->GetItem(u"Output", output.Put()) != S_OK) return nullptr;
  auto describe = [](IUnknown* object) -> nlohmann::ordered_json {
    auto bookmark = QueryAs<IHostBookmark>(object);
    if (!bookmark) return object ? nlohmann::ordered_json("object") : nlohmann::ordered_json();
    OwnedString title;
    bookmark->GetTitle(title.Put());
    return {{"title", ToUtf8(title.View())}, {"position", BookmarkPosition(bookmark.Get())}};
  };
  int32_t type = 0;
  output->GetType(&type);
  if (type == kCabUnknown) {
    ComPtr<IUnknown> object;
    output->GetObject(nullptr, object.Put());
    return describe(object.Get());
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  int32_t count = 0;
  output->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    if (output->GetItemAt(i, element.Put()) != S_OK) continue;
    int32_t elementType = 0;
    element->GetType(&elementType);
    if (elementType == kCabUnknown) {
      ComPtr<IUnknown> object;
      element->GetObject(nullptr, object.Put());
      list.push_back(describe(object.Get()));
    } else {
      list.push_back(app::CabToJson(element.Get()));
    }
  }
  return list;
}

int Run(const RunArgs& args, const SessionOptions& common) {
  SessionOptions options = common;
  options.quiet = options.quiet || args.quiet;
  Session session;
  if (!session.Start(options)) return kExitUsage;
  app::HostApp& app = session.App();

  auto op = FindOperation(app, args.operation);
  if (!op) {
    PrintError("unknown operation \"" + args.operation + "\" (the loaded module has " +
               OperationNameList(app) + ")");
    return kExitUsage;
  }
  // An operation that changes the document needs somewhere to write it; one that only reads
  // it writes nothing unless asked.
  const bool readOnly = op->readsOnly;
  if (args.output.empty() && !readOnly) {
    PrintError(std::string("the operation ") + op->abbreviation +
               " changes the document: give -o OUT.pdf");
    return kExitUsage;
  }
  std::error_code ec;
  auto outFolder =
      std::filesystem::absolute(args.output.empty() ? "." : args.output, ec).parent_path();
  if (!args.output.empty() && (ec || !std::filesystem::is_directory(outFolder, ec))) {
    PrintError("cannot write " + args.output + ": folder " + outFolder.string() +
               " does not exist");
    return kExitUsage;
  }
  if (!args.output.empty() && !args.overwriteInput && SameFile(args.file, args.output)) {
    PrintError("-o " + args.output + " is the input file " + args.file +
               "; give another output file, or --overwrite-input to replace the input");
    return kExitUsage;
  }

  ComPtr<IHostOperation> operation;
  if (Failed(app.CreateOperation(Intern(app, op->id), operation.Put())) || !operation) {
    PrintError("the operation " + std::string(op->abbreviation) + " (" + op->id +
               ") is not available");
    return kExitUsage;
  }
  ComPtr<ICab> params;
  ComPtr<ICabItem> root, optionsItem;
  if (Failed(operation->GetParams(params.Put())) || !params ||
      Failed(params->GetRoot(root.Put())) || root->GetItem(u"Options", optionsItem.Put()) != S_OK) {
    PrintError("the operation " + std::string(op->abbreviation) + " has no options");
    return kExitFailed;
  }
  // The suggestion reads the document, so it is opened first; it must be for this operation.
  ComPtr<pdf::HostDocument> document;
  nlohmann::ordered_json suggested;
  if (args.autoOptions) {
    document = session.Open(args.file, args.password);
    if (!document) return kExitUsage;
    SuggestedOptions suggestion;
    if (!SuggestOptions(app, static_cast<IHostDocument*>(document.Get()),
                        options.quiet ? kDoNoProgress : 0, &suggestion))
      return kExitFailed;
    if (suggestion.operation != op->id) {
      PrintError("--auto: no loaded module suggests options for " + std::string(op->abbreviation));
      return kExitUsage;
    }
    if (!suggestion.found) {
      std::string why = suggestion.explanation;
      while (!why.empty() && why.back() == '\n') why.pop_back();
      PrintError("--auto: " + args.file + ": " + why.substr(why.rfind('\n') + 1));
    }
    suggested = std::move(suggestion.options);
  }
  if (!FillOptions(session, args, *op, suggested, optionsItem.Get())) return kExitUsage;
  if (!args.pages.empty()) {
    ComPtr<ICabItem> range;
    const std::u16string text = ToUtf16(args.pages);
    if (optionsItem->GetItem(u"PagesRange", range.Put()) != S_OK || !range ||
        Failed(range->SetInt(u"Type", 1)) ||
        Failed(range->SetText(u"Text", text.c_str(), static_cast<int32_t>(text.size())))) {
      PrintError(std::string("--pages: the operation ") + op->abbreviation + " has no page range");
      return kExitUsage;
    }
  }

  if (!document) document = session.Open(args.file, args.password);
  if (!document) return kExitUsage;

  std::vector<ComPtr<IUnknown>> input;
  if (!args.selectBookmarks.empty()) {
    ComPtr<IHostBookmark> outline;
    document->GetOutlineRoot(outline.Put());
    std::vector<ComPtr<IHostBookmark>> selected;
    std::string error;
    if (!ResolveBookmarkPositions(outline.Get(), args.selectBookmarks, &selected, &error)) {
      PrintError("--select-bookmarks: " + error);
      return kExitUsage;
    }
    for (auto& b : selected) input.emplace_back(b.Get());
    app.SetSelection(document.Get(), Intern(app, "selection.bookmarks"), input);
  }
  if (!args.selectText.empty()) {
    ComPtr<app::TextSelection> selection;
    std::string error;
    if (Failed(app::TextSelection::FromArguments(document.Get(), args.selectText, &selection,
                                                 &error))) {
      PrintError("--select-text " + error);
      return kExitUsage;
    }
    app.SetSelection(document.Get(), Intern(app, "selection.text"),
                     {ComPtr<IUnknown>(static_cast<IHostTextSelection*>(selection.Get()))});
  }
  int32_t inputType = 0;
  ComPtr<ICabItem> inputItem;
  if (root->GetItem(u"Input", inputItem.Put()) == S_OK) inputItem->GetType(&inputType);
  if (input.empty() || inputType != kCabArray)
    input = {ComPtr<IUnknown>(static_cast<IHostDocument*>(document.Get()))};
  if (Failed(SetInput(root.Get(), input))) {
    PrintError("cannot set the operation's input");
    return kExitFailed;
  }

  int32_t flags = options.quiet ? kDoNoProgress : 0;
  HRESULT hr = app.RunOperation(operation.Get(), flags, 0);
  std::string message = ToUtf8(base::DescribeResult(hr));
  int status = hr == S_OK ? kExitChanged : hr == S_FALSE ? kExitNoChange : kExitFailed;
  // The operation's own closing message (problems, no change) stands for the whole run. A
  // run with problems has shown it already.
  bool problems = false;
  if (auto report = QueryAs<IRunReport>(operation.Get()); report && Succeeded(hr)) {
    report->HadProblems(&problems);
    OwnedString closing;
    if (report->GetClosingMessage(hr, closing.Put()) == S_OK) message = ToUtf8(closing.View());
  }
  // A run that succeeds without making anything (a generation that finds no title) has no
  // message, but scripts still learn from the status that the document is as it was.
  if (hr == S_OK && !readOnly && !document->IsModified() && OutputJson(root.Get()).empty()) {
    status = kExitNoChange;
    message.clear();
  }
  if (Succeeded(hr) && !args.output.empty()) {
    std::string error;
    if (Failed(document->Save(args.output, &error))) {
      PrintError(error);
      return kExitFailed;
    }
  }
  if (args.json) {
    nlohmann::ordered_json out;
    out["result"] = hr;
    out["message"] = message;
    out["problems"] = problems;
    if (!Succeeded(hr))
      out["output"] = nullptr;
    else if (op->validates)
      out["output"] = ValidationOutputJson(app, root.Get());
    else
      out["output"] = OutputJson(root.Get());
    std::cout << out.dump(2) << "\n";
  } else if (op->validates && Succeeded(hr)) {
    PrintValidationFindings(app, root.Get(), std::cout);
  } else if (hr != S_OK && !problems && !message.empty()) {
    std::cerr << message << "\n";
  }
  return status;
}

}  // namespace

void AddRunCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd =
      app.add_subcommand("run", "Run a Bookmarks operation on a PDF file and write the result");
  auto args = std::make_shared<RunArgs>();
  cmd->add_option("OPERATION", args->operation,
                  "Operation id or the abbreviation the module registered for it (e.g. CBC)")
      ->required();
  cmd->add_option("FILE", args->file, "The input PDF (never modified)")->required();
  cmd->add_option("-o,--output", args->output,
                  "The PDF to write (required unless the operation only reads the document)");
  cmd->add_option("--options", args->optionsFile, "Options as a JSON file");
  cmd->add_option("--set", args->sets, "Set one option: PATH=VALUE (e.g. Flags=0x204)");
  cmd->add_option("--select-bookmarks", args->selectBookmarks,
                  "Select bookmarks by 1-based position (e.g. 2,3.1)");
  cmd->add_option(
      "--select-text", args->selectText,
      "Select the text of a page, or of a rectangle in PDF points on it: PAGE[:x0,y0,x1,y1] "
      "(1-based page; may be repeated); or the whole text of pages: 3-6, 3,5-6");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->add_option("--pages", args->pages, "The pages to work on, e.g. 7-100 (sets PagesRange)");
  cmd->add_flag("--overwrite-input", args->overwriteInput,
                "Allow -o to name the input file itself (refused otherwise); the input is replaced "
                "only after the new file is complete");
  cmd->add_flag("--last", args->last, "Start from the stored last used options");
  cmd->add_flag("--auto", args->autoOptions,
                "Start from the options the document's own typography suggests (as `zelta "
                "suggest` prints them); --options and --set still apply on top");
  cmd->add_flag("--json", args->json, "Print the result and the run's output as JSON");
  cmd->add_flag("--quiet", args->quiet, "No progress bar");
  cmd->callback([args, &common, status] { *status = Run(*args, common); });
}

}  // namespace zelta::cli
