// `zelta style FILE --select-text PAGE[:x0,y0,x1,y1]...`: the generation level that "Style
// from selection" makes from the selected text (font names, size, tolerance, colour), as
// JSON to paste into the "Levels" of the generation options.
#include <iostream>
#include <nlohmann/json.hpp>

#include "zelta/app/cab_json.h"
#include "zelta/app/text_selection.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"

namespace zelta::cli {

namespace {

struct StyleArgs {
  std::string file, password;
  std::vector<std::string> selectText;
};

Atom Intern(app::HostApp& app, std::string_view text) {
  const std::u16string wide = ToUtf16(text);
  Atom atom = kNoAtom;
  app.InternString(wide.c_str(), static_cast<int32_t>(wide.size()), &atom);
  return atom;
}

int Style(const StyleArgs& args, const SessionOptions& common) {
  SessionOptions options = common;
  options.quiet = true;
  Session session;
  if (!session.Start(options)) return kExitUsage;
  app::HostApp& app = session.App();
  auto document = session.Open(args.file, args.password);
  if (!document) return kExitUsage;

  ComPtr<app::TextSelection> selection;
  std::string error;
  if (Failed(
          app::TextSelection::FromArguments(document.Get(), args.selectText, &selection, &error))) {
    PrintError("--select-text " + error);
    return kExitUsage;
  }
  app.SetSelection(document.Get(), Intern(app, "selection.text"),
                   {ComPtr<IUnknown>(static_cast<IHostTextSelection*>(selection.Get()))});

  // A module operation that describes the style of a selection makes the level.
  const auto describer = FindOperationWithTraits(app, kOperationDescribesSelectionStyle);
  ComPtr<IHostOperation> operation;
  ComPtr<ICab> params;
  ComPtr<ICabItem> root, input;
  if (!describer || Failed(app.CreateOperation(Intern(app, *describer), operation.Put())) ||
      !operation || Failed(operation->GetParams(params.Put())) || !params ||
      Failed(params->GetRoot(root.Put())) || root->GetItem(u"Input", input.Put()) != S_OK) {
    PrintError("no loaded module describes the style of selected text");
    return kExitFailed;
  }
  input->SetObject(nullptr, static_cast<IHostDocument*>(document.Get()));
  ComPtr<IUnknown> object;
  HRESULT hr = operation->GetObject(Intern(app, "selection.text"), object.Put());
  auto level = QueryAs<ICabItem>(object.Get());
  if (Failed(hr) || !level) {
    PrintError("no usable text in the selection of " + args.file +
               " (a selected character needs a font)");
    return kExitFailed;
  }
  std::cout << app::CabToJson(level.Get()).dump(2) << "\n";
  return kExitChanged;
}

}  // namespace

void AddStyleCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "style", "Print the generation level that the style of selected text gives");
  auto args = std::make_shared<StyleArgs>();
  cmd->add_option("FILE", args->file, "The PDF")->required();
  cmd->add_option(
         "--select-text", args->selectText,
         "Selected text: PAGE (1-based) and optionally a rectangle x0,y0,x1,y1 in PDF points")
      ->required();
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->callback([args, &common, status] { *status = Style(*args, common); });
}

}  // namespace zelta::cli
