// zelta import: an outline from a bookmark text file, JSON or pdftk data appended to a
// document's bookmarks (or in their place), as one undo step. The text format is the
// module's: it is read by running the module's text-file operation, so that there is one
// reader of it.
#include <filesystem>
#include <iostream>

#include "zelta/app/outline_import/outline_builder.h"
#include "zelta/app/outline_import/outline_json_reader.h"
#include "zelta/app/outline_import/pdftk_data_reader.h"
#include "zelta/base/result_text.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/file_checks.h"
#include "zelta/cli/operation_names.h"
#include "zelta/cli/outline_changes.h"

namespace zelta::cli {

namespace {

// The same bound as the text-file operation's.
constexpr std::uintmax_t kMaxOutlineFileSize = 16u << 20;
constexpr const char16_t kLabel[] = u"Import Bookmarks";

struct ImportArgs {
  std::string file, outline, output, password, format = "auto";
  std::string separator = ";", actionSeparator = ",";
  bool replace = false, overwriteInput = false, quiet = false;
};

std::string DetectFormat(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && (text[first] == '{' || text[first] == '[')) return "json";
  return app::LooksLikePdftkData(text) ? "pdftk" : "text";
}

Atom Intern(app::HostApp& app, std::u16string_view text) {
  Atom atom = kNoAtom;
  app.InternString(text.data(), static_cast<int32_t>(text.size()), &atom);
  return atom;
}

// The operation's "Input": the objects as an array, or the first as the one object.
HRESULT SetInput(ICabItem* root, const std::vector<IUnknown*>& objects) {
  ComPtr<ICabItem> input;
  if (root->GetItem(u"Input", input.Put()) != S_OK) return E_FAIL;
  int32_t type = 0;
  input->GetType(&type);
  if (type == kCabUnknown)
    return input->SetObject(nullptr, objects.empty() ? nullptr : objects.front());
  HRESULT hr = input->Clear();
  for (size_t i = 0; Succeeded(hr) && i < objects.size(); ++i) {
    ComPtr<ICabItem> element;
    hr = input->Insert(-1, element.Put());
    if (Succeeded(hr)) hr = element->SetObject(nullptr, objects[i]);
  }
  return hr;
}

// Runs a host or module operation on objects inside the open change group.
HRESULT RunOperation(app::HostApp& app, IHostOperation* operation,
                     const std::vector<IUnknown*>& input, int32_t flags) {
  ComPtr<ICab> params;
  ComPtr<ICabItem> root;
  HRESULT hr = operation->GetParams(params.Put());
  if (Succeeded(hr)) hr = params->GetRoot(root.Put());
  if (Succeeded(hr)) hr = SetInput(root.Get(), input);
  if (Succeeded(hr)) hr = app.RunOperation(operation, flags | kDoNoChangeGroup, 0);
  return hr;
}

HRESULT RunHostOperation(app::HostApp& app, std::u16string_view id,
                         const std::vector<IUnknown*>& input) {
  ComPtr<IHostOperation> operation;
  HRESULT hr = app.CreateOperation(Intern(app, id), operation.Put());
  if (Succeeded(hr) && !operation) hr = E_FAIL;
  return Succeeded(hr) ? RunOperation(app, operation.Get(), input, kDoNoProgress) : hr;
}

std::vector<ComPtr<IHostBookmark>> TopLevel(IHostDocument* document) {
  std::vector<ComPtr<IHostBookmark>> list;
  ComPtr<IHostBookmark> root, child;
  if (document->GetOutlineRoot(root.Put()) != S_OK || !root) return list;
  root->GetFirstChild(child.Put());
  while (child) {
    list.push_back(child);
    ComPtr<IHostBookmark> next;
    child->GetNextSibling(next.Put());
    child = next;
  }
  return list;
}

std::vector<IUnknown*> Objects(const std::vector<ComPtr<IHostBookmark>>& bookmarks) {
  std::vector<IUnknown*> objects;
  for (const auto& bookmark : bookmarks) objects.push_back(bookmark.Get());
  return objects;
}

// The text format through the module operation that imports it, which reads the file itself.
HRESULT ImportText(Session& session, IHostDocument* document, const ImportArgs& args) {
  app::HostApp& app = session.App();
  const auto id = FindOperationWithTraits(app, kOperationImportsOutlineText);
  ComPtr<IHostOperation> operation;
  if (id) app.CreateOperation(Intern(app, ToUtf16(*id)), operation.Put());
  if (!operation) {
    PrintError("the loaded module offers no text-file import; import JSON or pdftk data");
    return E_NOTIMPL;
  }
  ComPtr<ICab> params;
  ComPtr<ICabItem> root, options;
  operation->GetParams(params.Put());
  if (params) params->GetRoot(root.Put());
  if (root) root->GetItem(u"Options", options.Put());
  const std::u16string path = ToUtf16(std::filesystem::absolute(args.outline).string());
  const std::u16string separator = ToUtf16(args.separator);
  const std::u16string actionSeparator = ToUtf16(args.actionSeparator);
  if (separator.size() != 1 || actionSeparator.size() != 1) {
    PrintError("--separator and --action-separator take one character each");
    return E_INVALIDARG;
  }
  if (!options ||
      Failed(options->SetText(u"FileName", path.c_str(), static_cast<int32_t>(path.size()))) ||
      Failed(options->SetInt(u"Separator", separator[0])) ||
      Failed(options->SetInt(u"ActionSeparator", actionSeparator[0]))) {
    PrintError("the module's text-file import has other options than expected");
    return E_FAIL;
  }
  return RunOperation(app, operation.Get(), {document}, args.quiet ? kDoNoProgress : 0);
}

HRESULT ImportNodes(app::HostApp& app, IHostDocument* document,
                    const std::vector<app::OutlineNode>& nodes) {
  if (nodes.empty()) return S_FALSE;
  app::BuildResult built;
  HRESULT hr = app::BuildOutline(document, nodes, &built);
  if (Succeeded(hr))
    hr = RunHostOperation(app, u"op.bookmarks.addNew.simple", Objects(built.created));
  for (const std::string& note : built.notes) PrintError("warning: " + note);
  if (Failed(hr))
    for (auto it = built.created.rbegin(); it != built.created.rend(); ++it) (*it)->Remove();
  return hr;
}

int Import(const ImportArgs& args, const SessionOptions& common) {
  SessionOptions options = common;
  options.quiet = options.quiet || args.quiet;
  if (!CheckOutputPath(args.output, args.file, args.overwriteInput)) return kExitUsage;
  std::string text;
  if (!ReadBoundedFile(args.outline, kMaxOutlineFileSize, "outline file", &text)) return kExitUsage;
  const std::string format = args.format == "auto" ? DetectFormat(text) : args.format;
  std::vector<app::OutlineNode> nodes;
  std::string error;
  if (format == "json" && !app::ReadOutlineJson(text, &nodes, &error)) {
    PrintError(args.outline + ": " + error);
    return kExitUsage;
  }
  if (format == "pdftk" && !app::ReadPdftkData(text, &nodes, &error)) {
    PrintError(args.outline + ": " + error);
    return kExitUsage;
  }
  text.clear();

  Session session;
  if (!session.Start(options)) return kExitUsage;
  auto document = session.Open(args.file, args.password);
  if (!document) return kExitUsage;
  int32_t permitted = 0;
  if (Failed(document->IsPermitted(kPermModify, kPermAddItems, kPermReserved, &permitted)) ||
      permitted != 1) {
    PrintError(ToUtf8(base::DescribeResult(E_NO_PERMISSION)));
    return kExitFailed;
  }
  ComPtr<IHostBookmark> outlineRoot;
  document->GetOutlineRoot(outlineRoot.Put());
  const OutlineSnapshot before = OutlineSnapshot::Take(outlineRoot.Get());
  ComPtr<IHostUndoHistory> history;
  ComPtr<IHostChangeGroup> group;
  HRESULT hr = document->GetUndoHistory(history.Put());
  if (Succeeded(hr) && history)
    hr = history->BeginGroup(kLabel, std::size(kLabel) - 1, group.Put());
  if (Failed(hr) || !group) {
    PrintError("cannot open an undo step: " +
               ToUtf8(base::DescribeResult(Failed(hr) ? hr : E_FAIL)));
    return kExitFailed;
  }
  // The text format's reader says why it stopped; the generic text of its result would only
  // blur that.
  size_t messagesShown = 0;
  session.App().Ui().SetMessageHandler([&messagesShown](const ui::MessageRecord& message) {
    std::cerr << ToUtf8(message.caption) << ": " << ToUtf8(message.text) << "\n";
    ++messagesShown;
    return int32_t{kAnswerOk};
  });
  bool replaced = false;
  if (args.replace) {
    const auto existing = TopLevel(document.Get());
    if (!existing.empty()) {
      hr = RunHostOperation(session.App(), u"op.bookmarks.delete", Objects(existing));
      replaced = Succeeded(hr);
    }
  }
  if (Succeeded(hr))
    hr = format == "text" ? ImportText(session, document.Get(), args)
                          : ImportNodes(session.App(), document.Get(), nodes);
  if (Failed(hr)) {
    group->Rollback();
    if (hr != E_NOTIMPL && messagesShown == 0) PrintError(ToUtf8(base::DescribeResult(hr)));
    return kExitFailed;
  }
  const bool changed = hr == S_OK || replaced;
  if (Failed(group->Commit())) {
    PrintError("cannot record the undo step");
    return kExitFailed;
  }
  if (Failed(document->Save(args.output, &error))) {
    PrintError(error);
    return kExitFailed;
  }
  if (!changed)
    std::cerr << "zelta: " << args.outline << " holds no bookmarks; nothing was added\n";
  else if (!options.quiet)
    std::cerr << "zelta: import: "
              << DescribeChanges(CompareOutlines(before, OutlineSnapshot::Take(outlineRoot.Get())))
              << "; wrote " << args.output << "\n";
  return changed ? kExitChanged : kExitNoChange;
}

}  // namespace

void AddImportCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "import",
      "Append an outline from a bookmark text file, JSON (zelta outline --json) or pdftk data "
      "(dump_data) to a PDF file's bookmarks, and write the result");
  auto args = std::make_shared<ImportArgs>();
  cmd->add_option("FILE", args->file, "The input PDF (never modified)")->required();
  cmd->add_option("OUTLINE", args->outline, "The outline file (at most 16 MiB)")->required();
  cmd->add_option("-o,--output", args->output, "The PDF to write")->required();
  cmd->add_option("--format", args->format,
                  "auto (the default: JSON by its brace or bracket, pdftk data by its records, "
                  "otherwise text), text, json or pdftk")
      ->check(CLI::IsMember({"auto", "text", "json", "pdftk"}));
  cmd->add_flag("--replace", args->replace, "Remove the existing bookmarks first");
  cmd->add_option("--separator", args->separator, "Text format: the field delimiter (default ;)");
  cmd->add_option("--action-separator", args->actionSeparator,
                  "Text format: the separator inside an action's braces (default ,)");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->add_flag("--overwrite-input", args->overwriteInput,
                "Allow -o to name the input file itself (refused otherwise)");
  cmd->add_flag("--quiet", args->quiet, "No progress bar and no summary line");
  cmd->callback([args, &common, status] { *status = Import(*args, common); });
}

}  // namespace zelta::cli
