#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>

#include "zelta/app/cab/cab_changes.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_value_names.h"
#include "zelta/app/cab/json_text.h"
#include "zelta/app/selection/text_selection.h"
#include "zelta/base/result_text.h"
#include "zelta/cli/batch_runner.h"
#include "zelta/cli/bookmark_path.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/file_checks.h"
#include "zelta/cli/operation_names.h"
#include "zelta/cli/option_notes.h"
#include "zelta/cli/outline_changes.h"
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
  bool replaceOutline = false;
  bool force = false;  // --auto: use an unsure suggestion too
  // `zelta check`: every check the validation operation names, findings make the status 4,
  // and the options are not stored as the last used ones.
  bool check = false;
};

// Writing the PDF to standard output: "-o -".
constexpr const char* kStandardOutput = "-";

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
                 const SuggestedOptions& suggested, ICabItem* options) {
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
  if (suggested.options && Failed(app::CabCopyChanges(options, suggested.options.Get(),
                                                      suggested.defaults.Get(), &error))) {
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

// The stored last used options of an operation ("CBCLastUsedOptions"), null when the module
// keeps none.
ComPtr<ICabItem> LastUsedOptions(Session& session, const OperationName& op) {
  ComPtr<ICabItem> stored;
  if (auto root = session.PluginSettingsRoot()) {
    const std::u16string name = ToUtf16(op.abbreviation + "LastUsedOptions");
    root->GetItem(name.c_str(), stored.Put());
  }
  return stored;
}

// Every check bit the validation options name, for `zelta check`.
bool SelectEveryCheck(ICabItem* options) {
  ComPtr<ICabItem> flags;
  if (options->GetItem(u"Flags", flags.Put()) != S_OK || !flags) return false;
  const app::CabItemDesc* desc = app::DescOf(flags.Get());
  int32_t all = 0;
  if (desc)
    for (const app::CabValueName& name : desc->valueNames)
      if (name.bit) all |= name.value;
  return all != 0 && Succeeded(flags->SetInt(nullptr, all));
}

// Copies a saved file to standard output.
bool CopyToStandardOutput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::cout << in.rdbuf();
  return static_cast<bool>(std::cout.flush());
}

// A private file name for a document that goes to standard output.
std::string TemporaryOutputPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/zelta-stdout-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) return {};
  close(fd);
  return path;
}

// Removes the existing top-level bookmarks through the host's delete operation, inside the
// caller's undo step.
HRESULT RemoveOutline(app::HostApp& app, IHostDocument* document) {
  ComPtr<IHostBookmark> root, child;
  std::vector<ComPtr<IUnknown>> top;
  if (document->GetOutlineRoot(root.Put()) != S_OK || !root) return S_FALSE;
  root->GetFirstChild(child.Put());
  while (child) {
    top.emplace_back(child.Get());
    ComPtr<IHostBookmark> next;
    child->GetNextSibling(next.Put());
    child = next;
  }
  if (top.empty()) return S_FALSE;
  ComPtr<IHostOperation> remove;
  ComPtr<ICab> params;
  ComPtr<ICabItem> root2;
  HRESULT hr = app.CreateOperation(Intern(app, "op.bookmarks.delete"), remove.Put());
  if (Succeeded(hr) && !remove) hr = E_FAIL;
  if (Succeeded(hr)) hr = remove->GetParams(params.Put());
  if (Succeeded(hr)) hr = params->GetRoot(root2.Put());
  if (Succeeded(hr)) hr = SetInput(root2.Get(), top);
  if (Succeeded(hr)) hr = app.RunOperation(remove.Get(), kDoNoProgress | kDoNoChangeGroup, 0);
  return hr;
}

// What the phases of one run share. Members go in reverse order: the document and the
// operation before the session that made them.
struct RunState {
  explicit RunState(const RunArgs& runArgs) : args(runArgs) {}

  const RunArgs& args;
  SessionOptions options;
  Session session;
  OperationName op;
  bool toStdout = false;  // -o -
  ComPtr<IHostOperation> operation;
  ComPtr<ICabItem> root, optionsItem;
  ComPtr<pdf::HostDocument> document;
  int32_t inputType = 0;  // of the operation's "Input"
  size_t messagesShown = 0;
};

// What the run did and how it ends.
struct RunResult {
  HRESULT hr = S_OK;
  int status = kExitFailed;
  std::string message;  // the operation's closing message or the result's text
  std::string hint;     // how to go on after a refusal or an empty run
  bool problems = false;
  OutlineChanges changes;
  size_t findings = 0;  // a validation's: marked bookmarks and outline structure faults
  std::vector<pdf::OutlineFinding> structure;
};

// A phase returns the exit status to stop with, or nothing to go on.
using Stop = std::optional<int>;

// The operation and where its result goes: refused before anything is opened.
Stop CheckArguments(RunState& run) {
  const RunArgs& args = run.args;
  app::HostApp& app = run.session.App();
  auto op = FindOperation(app, args.operation);
  if (!op) {
    PrintError("unknown operation \"" + args.operation + "\" (the loaded module has " +
               OperationNameList(app) + ")");
    return kExitUsage;
  }
  run.op = *op;
  // An operation that changes the document needs somewhere to write it; one that only reads
  // it writes nothing unless asked.
  if (args.output.empty() && !op->readsOnly) {
    PrintError(std::string("the operation ") + op->abbreviation +
               " changes the document: give -o OUT.pdf (or -o - for standard output, or "
               "--in-place to replace the input)");
    return kExitUsage;
  }
  if (run.toStdout && (args.json || op->validates)) {
    PrintError(
        "-o - writes the PDF to standard output, where --json and findings would go too; "
        "write the PDF to a file");
    return kExitUsage;
  }
  std::error_code ec;
  auto outFolder =
      std::filesystem::absolute(args.output.empty() ? "." : args.output, ec).parent_path();
  if (!args.output.empty() && !run.toStdout &&
      (ec || !std::filesystem::is_directory(outFolder, ec))) {
    PrintError("cannot write " + args.output + ": folder " + outFolder.string() +
               " does not exist");
    return kExitUsage;
  }
  if (!args.output.empty() && !run.toStdout && !args.overwriteInput &&
      SameFile(args.file, args.output)) {
    PrintError("-o " + args.output + " is the input file " + args.file +
               "; give another output file, or --in-place to replace the input");
    return kExitUsage;
  }
  return std::nullopt;
}

Stop MakeOperation(RunState& run) {
  app::HostApp& app = run.session.App();
  const OperationName& op = run.op;
  if (Failed(app.CreateOperation(Intern(app, op.id), run.operation.Put())) || !run.operation) {
    PrintError("the operation " + op.abbreviation + " (" + op.id + ") is not available");
    return kExitUsage;
  }
  ComPtr<ICab> params;
  if (Failed(run.operation->GetParams(params.Put())) || !params ||
      Failed(params->GetRoot(run.root.Put())) ||
      run.root->GetItem(u"Options", run.optionsItem.Put()) != S_OK) {
    PrintError("the operation " + op.abbreviation + " has no options");
    return kExitFailed;
  }
  return std::nullopt;
}

// --auto: the options the module suggests from the document, which is opened for it.
Stop Suggest(RunState& run, SuggestedOptions* suggestion) {
  const RunArgs& args = run.args;
  run.document = run.session.Open(args.file, args.password);
  if (!run.document) return kExitUsage;
  if (!SuggestOptions(run.session.App(), static_cast<IHostDocument*>(run.document.Get()),
                      run.options.quiet ? kDoNoProgress : 0, suggestion))
    return kExitFailed;
  if (suggestion->operation != run.op.id) {
    PrintError("--auto: no loaded module suggests options for " + run.op.abbreviation);
    return kExitUsage;
  }
  if (!suggestion->found) {
    std::string why = suggestion->explanation;
    while (!why.empty() && why.back() == '\n') why.pop_back();
    PrintError("--auto: " + args.file + ": " + why.substr(why.rfind('\n') + 1));
  } else if (!suggestion->doubt.empty() && !args.force) {
    PrintError("--auto: " + UnsureMessage(args.file, *suggestion) + "; nothing written");
    return kExitFailed;
  }
  if (suggestion->found && !suggestion->warning.empty())
    PrintError("--auto: warning: " + args.file + ": " + suggestion->warning);
  return std::nullopt;
}

// The options: stored, suggested, from a file and --set, then what `check` and --pages ask.
Stop ChooseOptions(RunState& run) {
  const RunArgs& args = run.args;
  ICabItem* options = run.optionsItem.Get();
  SuggestedOptions suggested;
  if (args.autoOptions)
    if (Stop stop = Suggest(run, &suggested)) return stop;
  if (!FillOptions(run.session, args, run.op, suggested, options)) return kExitUsage;
  if (args.check && !SelectEveryCheck(options)) {
    PrintError("the validation operation names no checks");
    return kExitFailed;
  }
  if (!args.pages.empty()) {
    ComPtr<ICabItem> range;
    const std::u16string text = ToUtf16(args.pages);
    if (options->GetItem(u"PagesRange", range.Put()) != S_OK || !range ||
        Failed(range->SetInt(u"Type", 1)) ||
        Failed(range->SetText(u"Text", text.c_str(), static_cast<int32_t>(text.size())))) {
      PrintError("--pages: the operation " + run.op.abbreviation + " has no page range");
      return kExitUsage;
    }
  }
  for (const std::string& note : IneffectiveOptions(options)) PrintError("warning: " + note);
  return std::nullopt;
}

// The document, the selections given on the command line, and the operation's "Input".
Stop SelectInput(RunState& run) {
  const RunArgs& args = run.args;
  app::HostApp& app = run.session.App();
  if (!run.document) run.document = run.session.Open(args.file, args.password);
  if (!run.document) return kExitUsage;
  pdf::HostDocument* document = run.document.Get();

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
    app.SetSelection(document, Intern(app, "selection.bookmarks"), input);
  }
  if (!args.selectText.empty()) {
    ComPtr<app::TextSelection> selection;
    std::string error;
    if (Failed(app::TextSelection::FromArguments(document, args.selectText, &selection, &error))) {
      PrintError("--select-text " + error);
      return kExitUsage;
    }
    app.SetSelection(document, Intern(app, "selection.text"),
                     {ComPtr<IUnknown>(static_cast<IHostTextSelection*>(selection.Get()))});
  }
  ComPtr<ICabItem> inputItem;
  if (run.root->GetItem(u"Input", inputItem.Put()) == S_OK) inputItem->GetType(&run.inputType);
  if (input.empty() || run.inputType != kCabArray)
    input = {ComPtr<IUnknown>(static_cast<IHostDocument*>(document))};
  if (Failed(SetInput(run.root.Get(), input))) {
    PrintError("cannot set the operation's input");
    return kExitFailed;
  }
  return std::nullopt;
}

// Runs the operation in one undo step; --replace-outline takes the old tree out in the same
// step. The module's messages go to standard error.
HRESULT RunInChangeGroup(RunState& run) {
  app::HostApp& app = run.session.App();
  app.Ui().SetMessageHandler([&run](const ui::MessageRecord& message) {
    std::cerr << ToUtf8(message.caption) << ": " << ToUtf8(message.text) << "\n";
    ++run.messagesShown;
    return int32_t{kAnswerOk};
  });
  int32_t flags = run.options.quiet ? kDoNoProgress : 0;
  ComPtr<IHostChangeGroup> group;
  HRESULT hr = S_OK;
  bool replaced = false;
  if (run.args.replaceOutline) {
    static constexpr char16_t kLabel[] = u"Replace Bookmarks";
    ComPtr<IHostUndoHistory> history;
    hr = run.document->GetUndoHistory(history.Put());
    if (Succeeded(hr) && history)
      hr = history->BeginGroup(kLabel, std::size(kLabel) - 1, group.Put());
    if (Succeeded(hr) && !group) hr = E_FAIL;
    if (Succeeded(hr)) hr = RemoveOutline(app, run.document.Get());
    replaced = hr == S_OK;
    flags |= kDoNoChangeGroup;
  }
  if (Succeeded(hr)) hr = app.RunOperation(run.operation.Get(), flags, 0);
  if (group) {
    if (hr == S_FALSE && replaced) hr = S_OK;  // the old tree went: the document changed
    if (Failed(hr))
      group->Rollback();
    else if (Failed(group->Commit()))
      hr = E_FAIL;
  }
  return hr;
}

// Runs the operation and measures what it changed: bookmarks, and for an operation that makes
// pages or links, those too (counting walks every page's annotations).
RunResult Execute(RunState& run) {
  pdf::HostDocument* document = run.document.Get();
  ComPtr<IHostBookmark> outlineRoot;
  document->GetOutlineRoot(outlineRoot.Put());
  const OutlineSnapshot before = OutlineSnapshot::Take(outlineRoot.Get());
  const uint64_t editsBefore = document->OutlineEdits();
  const bool tallyPages = !run.op.readsOnly && run.op.changesPages;
  const PageTally pagesBefore = tallyPages ? PageTally::Take(document) : PageTally{};

  RunResult result;
  result.hr = RunInChangeGroup(run);
  if (Failed(result.hr)) return result;
  // Every bookmark change goes through the document's count: without one the tree is as it
  // was, and reading it again would only confirm that.
  if (document->OutlineEdits() != editsBefore)
    result.changes = CompareOutlines(before, OutlineSnapshot::Take(outlineRoot.Get()));
  if (tallyPages) {
    const PageTally pagesAfter = PageTally::Take(document);
    result.changes.pages = pagesAfter.pages - pagesBefore.pages;
    result.changes.links = pagesAfter.links - pagesBefore.links;
  }
  // A validation also reports the structure the reader had to repair (loops, lying /Count).
  if (run.op.validates) {
    result.structure = document->GetOutline().Findings();
    result.findings =
        ValidationOutputJson(run.session.App(), run.root.Get()).size() + result.structure.size();
  }
  return result;
}

// The exit status, the closing message, and the warnings and hints about what the run was given.
void Interpret(RunState& run, RunResult& result) {
  const RunArgs& args = run.args;
  app::HostApp& app = run.session.App();
  const HRESULT hr = result.hr;
  result.message = ToUtf8(base::DescribeResult(hr));
  result.status = hr == S_OK ? kExitChanged : hr == S_FALSE ? kExitNoChange : kExitFailed;
  // The operation's own closing message (problems, no change) stands for the whole run. A
  // run with problems has shown it already.
  if (auto report = QueryAs<IRunReport>(run.operation.Get()); report && Succeeded(hr)) {
    report->HadProblems(&result.problems);
    OwnedString closing;
    if (report->GetClosingMessage(hr, closing.Put()) == S_OK)
      result.message = ToUtf8(closing.View());
  }
  // A run that succeeds without making anything (a generation that finds no title) has no
  // message, but scripts still learn from the status that the document is as it was.
  if (hr == S_OK && !run.op.readsOnly && !run.document->IsModified() &&
      OutputJson(run.root.Get()).empty()) {
    result.status = kExitNoChange;
    result.message.clear();
  }
  // Selections the operation never read had no effect; one it looked for and did not get is
  // the likely cause of a refusal.
  const bool askedBookmarks = app.Selections().WasAsked(Intern(app, "selection.bookmarks"));
  if (!args.selectText.empty() && !app.Selections().WasAsked(Intern(app, "selection.text")))
    PrintError("warning: --select-text had no effect: " + run.op.abbreviation +
               " reads no text selection");
  if (!args.selectBookmarks.empty() && !askedBookmarks && run.inputType != kCabArray)
    PrintError("warning: --select-bookmarks had no effect: " + run.op.abbreviation +
               " reads no bookmark selection");
  if (Failed(hr) && askedBookmarks && args.selectBookmarks.empty())
    result.hint =
        "the options ask for selected bookmarks: give them with --select-bookmarks "
        "(e.g. --select-bookmarks 2,3.1), or choose the whole document (see zelta options " +
        run.op.abbreviation + " --explain)";
  // Generation without levels has nothing to look for: say where levels come from.
  ComPtr<ICabItem> levels;
  int32_t levelCount = 0;
  if (result.status == kExitNoChange && run.op.abbreviation == "AGB" &&
      run.optionsItem->GetItem(u"Levels", levels.Put()) == S_OK && levels &&
      Succeeded(levels->GetCount(&levelCount)) && levelCount == 0)
    result.hint =
        "no levels are set (Levels is empty), so AGB looks for no headings: get them "
        "with --auto, from `zelta suggest " +
        args.file + "`, or build one from a heading's style with `zelta style " + args.file +
        " --find TEXT`";
  if (args.check && Succeeded(hr))
    result.status = result.findings > 0 ? kExitInvalid : kExitChanged;
}

// Writes the changed document to -o (through a private file for standard output).
Stop Save(RunState& run) {
  std::string error;
  const std::string path = run.toStdout ? TemporaryOutputPath() : run.args.output;
  if (path.empty() || Failed(run.document->Save(path, &error))) {
    if (run.toStdout && !path.empty()) std::remove(path.c_str());
    PrintError(path.empty() ? "cannot make a temporary file for standard output" : error);
    return kExitFailed;
  }
  if (run.toStdout) {
    const bool copied = CopyToStandardOutput(path);
    std::remove(path.c_str());
    if (!copied) {
      PrintError("cannot write the PDF to standard output");
      return kExitFailed;
    }
  }
  return std::nullopt;
}

// What ran successfully is what --last and `zelta options` give next time.
void StoreLastUsedOptions(RunState& run) {
  if (auto stored = LastUsedOptions(run.session, run.op);
      !stored || Failed(stored->CopyFrom(run.optionsItem.Get())) || !run.session.SaveSettings())
    PrintError("warning: the options could not be stored as the last used ones");
}

int ReportJson(RunState& run, const RunResult& result) {
  const bool validates = run.op.validates;
  nlohmann::ordered_json out;
  out["result"] = result.hr;
  out["exit"] = result.status;
  // A check reports findings, not the run's closing notice.
  if (!run.args.check) out["message"] = result.message;
  out["problems"] = result.problems;
  const OutlineChanges& changes = result.changes;
  out["changes"] = {{"made", changes.made},   {"renamed", changes.renamed},
                    {"moved", changes.moved}, {"removed", changes.removed},
                    {"pages", changes.pages}, {"links", changes.links}};
  if (validates) out["changes"]["invalid"] = result.findings;
  if (!Succeeded(result.hr)) {
    out["output"] = nullptr;
  } else if (validates) {
    out["output"] = ValidationOutputJson(run.session.App(), run.root.Get());
    out["outline"] = OutlineFindingsJson(result.structure);
  } else
    out["output"] = OutputJson(run.root.Get());
  std::cout << out.dump(2) << "\n";
  if (!result.hint.empty()) PrintError(result.hint);
  return result.status;
}

// The one summary line: what changed, or what a validation found, and where it went.
std::string Summary(const RunState& run, const RunResult& result) {
  if (!run.op.validates) {
    const std::string summary = DescribeChanges(result.changes);
    return summary.empty() ? "nothing changed" : summary;
  }
  const size_t faults = result.structure.size();
  const size_t marked = result.findings - faults;
  std::string summary =
      std::to_string(marked) + " invalid bookmark" + (marked == 1 ? "" : "s") + " found";
  if (faults > 0)
    summary +=
        ", " + std::to_string(faults) + " outline structure fault" + (faults == 1 ? "" : "s");
  return summary;
}

int Report(RunState& run, const RunResult& result) {
  if (run.args.json) return ReportJson(run, result);
  const HRESULT hr = result.hr;
  if (run.op.validates && Succeeded(hr)) {
    PrintValidationFindings(run.session.App(), run.root.Get(), std::cout);
    PrintOutlineFindings(result.structure, std::cout);
  } else if (Failed(hr) && run.messagesShown > 0) {
    // The operation said why; the generic text of its result would only blur that.
    PrintError(result.hint.empty() ? "nothing was written" : result.hint + "; nothing was written");
    return result.status;
  } else if (hr != S_OK && !result.problems && !result.message.empty() &&
             !(run.options.quiet && hr == S_FALSE)) {
    // A run that changed nothing says so unless asked to be quiet: the status tells it too.
    std::cerr << result.message << "\n";
  }
  if (!result.hint.empty()) PrintError(result.hint);
  if (Succeeded(hr) && !run.options.quiet) {
    const std::string& output = run.args.output;
    const std::string where = output.empty() || run.toStdout ? "" : "; wrote " + output;
    std::cerr << "zelta: " << run.op.abbreviation << ": " << Summary(run, result) << where << "\n";
  }
  return result.status;
}

// `zelta run` and `zelta check`: check the arguments, make the operation, fill its options,
// select its input, run it in one undo step, save, report.
int Run(const RunArgs& args, const SessionOptions& common) {
  RunState run(args);
  run.options = common;
  // With the PDF on standard output nothing else may go there, and no bar may mix with it.
  run.options.quiet = common.quiet || args.quiet;
  run.toStdout = args.output == kStandardOutput;
  if (!run.session.Start(run.options)) return kExitUsage;
  for (Stop (*phase)(RunState&) : {CheckArguments, MakeOperation, ChooseOptions, SelectInput})
    if (Stop stop = phase(run)) return *stop;
  RunResult result = Execute(run);
  Interpret(run, result);
  if (Succeeded(result.hr) && !args.output.empty())
    if (Stop stop = Save(run)) return *stop;
  if (Succeeded(result.hr) && !args.check) StoreLastUsedOptions(run);
  return Report(run, result);
}

// The arguments a child of a batch gets: the same options, for one file.
std::vector<std::string> ChildArguments(const RunArgs& args) {
  std::vector<std::string> out{args.operation};
  auto pair = [&](const char* name, const std::string& value) {
    if (!value.empty()) out.insert(out.end(), {name, value});
  };
  pair("--options", args.optionsFile.empty() ? "" : std::filesystem::absolute(args.optionsFile));
  for (const std::string& set : args.sets) pair("--set", set);
  pair("--select-bookmarks", args.selectBookmarks);
  for (const std::string& text : args.selectText) pair("--select-text", text);
  pair("--password", args.password);
  pair("--pages", args.pages);
  for (auto [on, name] : {std::pair{args.last, "--last"},
                          {args.autoOptions, "--auto"},
                          {args.json, "--json"},
                          {args.quiet, "--quiet"},
                          {args.replaceOutline, "--replace-outline"}})
    if (on) out.emplace_back(name);
  return out;
}

int RunMany(const RunArgs& args, const std::vector<std::string>& files,
            const std::string& outputDir, unsigned jobs, const SessionOptions& common) {
  std::error_code ec;
  if (outputDir.empty()) {
    PrintError("several input files need --output-dir DIR (each is written there by its name)");
    return kExitUsage;
  }
  if (!args.output.empty()) {
    PrintError("-o names one output; with --output-dir each file is written by its own name");
    return kExitUsage;
  }
  if (!std::filesystem::is_directory(outputDir, ec)) {
    const bool exists = std::filesystem::exists(outputDir, ec);
    PrintError("--output-dir " + outputDir +
               (exists ? " is not a folder" : " does not exist (make it first, e.g. mkdir -p)"));
    return kExitUsage;
  }
  std::vector<BatchFile> batch;
  std::set<std::string> names;
  for (const std::string& file : files) {
    const std::string name = std::filesystem::path(file).filename().string();
    if (!names.insert(name).second) {
      PrintError("two input files are named " + name + "; their outputs would collide in " +
                 outputDir);
      return kExitUsage;
    }
    batch.push_back({file, (std::filesystem::path(outputDir) / name).string()});
  }
  BatchOptions options;
  options.runArguments = ChildArguments(args);
  if (!common.settingsPath.empty()) options.globalArguments = {"--settings", common.settingsPath};
  if (!common.modulePath.empty())
    options.globalArguments.insert(options.globalArguments.end(), {"--module", common.modulePath});
  options.jobs = jobs ? jobs : std::max(1u, std::thread::hardware_concurrency());
  options.json = args.json;
  return RunBatch(batch, options);
}

}  // namespace

void AddRunCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "run",
      "Run a Bookmarks operation on a PDF file and write the result; with --output-dir, on "
      "many files");
  auto args = std::make_shared<RunArgs>();
  auto files = std::make_shared<std::vector<std::string>>();
  auto outputDir = std::make_shared<std::string>();
  auto jobs = std::make_shared<unsigned>(0);
  cmd->add_option("OPERATION", args->operation,
                  "Operation id or the abbreviation the module registered for it (e.g. CBC); "
                  "`zelta options OPERATION --explain` lists its options")
      ->required();
  cmd->add_option("FILE", *files, "The input PDF (never modified), or several with --output-dir")
      ->required();
  cmd->add_option("-o,--output", args->output,
                  "The PDF to write, - for standard output (required unless the operation only "
                  "reads the document)");
  cmd->add_option("--output-dir", *outputDir,
                  "Write each input file by its own name into this folder; one bad file does "
                  "not stop the others");
  cmd->add_option("-j,--jobs", *jobs,
                  "With --output-dir: files run at once, each in its own process (default: one "
                  "a processor)");
  cmd->add_option("--options", args->optionsFile, "Options as a JSON file");
  cmd->add_option("--set", args->sets,
                  "Set one option: PATH=VALUE (e.g. Flags=0x204, Flags=upper+selected, "
                  "PagesRange.Text=1-10)")
      ->allow_extra_args(false);  // one value each time, so the words after it stay files
  cmd->add_option("--select-bookmarks", args->selectBookmarks,
                  "Select bookmarks by 1-based position (e.g. 2,3.1)");
  cmd->add_option(
         "--select-text", args->selectText,
         "Select the text of a page, or of a rectangle on it: PAGE[:x0,y0,x1,y1] (1-based page; "
         "PDF points, origin at the bottom left of the page; may be repeated); or the whole "
         "text of pages: 3-6, 3,5-6")
      ->allow_extra_args(false);
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->add_option("--pages", args->pages, "The pages to work on, e.g. 7-100 (sets PagesRange)");
  cmd->add_flag("--in-place,--overwrite-input", args->overwriteInput,
                "Replace the input file: without -o, or with -o naming the input (refused "
                "otherwise); the input is replaced only after the new file is complete");
  cmd->add_flag("--replace-outline", args->replaceOutline,
                "Remove the existing bookmarks first, in the same undo step (generation "
                "otherwise appends to them)");
  cmd->add_flag("--last", args->last, "Start from the stored last used options");
  cmd->add_flag("--auto", args->autoOptions,
                "Start from the options the document's own typography suggests (as `zelta "
                "suggest` prints them); --options and --set still apply on top");
  cmd->add_flag("--force", args->force,
                "With --auto: use the suggested options even when the suggestion is unsure");
  cmd->add_flag("--json", args->json,
                "Print the result, the exit status, the changes and the run's output as JSON (one "
                "line a file with --output-dir)");
  cmd->add_flag("--quiet", args->quiet, "No progress bar and no summary line");
  cmd->callback([args, files, outputDir, jobs, &common, status] {
    if (files->size() > 1 || !outputDir->empty()) {
      *status = RunMany(*args, *files, *outputDir, *jobs, common);
      return;
    }
    args->file = files->front();
    if (args->output.empty() && args->overwriteInput) args->output = args->file;
    *status = Run(*args, common);
  });
}

void AddCheckCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "check",
      "Run every validation check on a PDF's bookmarks and print the findings; exit status 0 "
      "when the outline is sound, 4 when it is not");
  auto args = std::make_shared<RunArgs>();
  args->check = true;
  cmd->add_option("FILE", args->file, "The PDF file")->required();
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->add_flag("--json", args->json, "Print the findings as JSON");
  cmd->add_flag("--quiet", args->quiet, "No progress bar and no summary line");
  cmd->callback([args, &common, status] {
    SessionOptions options = common;
    options.quiet = true;
    Session session;
    std::optional<std::string> id;
    if (session.Start(options))
      id = FindOperationWithTraits(session.App(), kOperationOutputsValidationRecords);
    if (!id) {
      PrintError("no loaded module validates bookmarks");
      *status = kExitFailed;
      return;
    }
    args->operation = *id;
    *status = Run(*args, common);
  });
}

}  // namespace zelta::cli
