// `zelta style FILE --select-text PAGE[:x0,y0,x1,y1]... | --find TEXT`: the generation level
// that "Style from selection" makes from the selected text (font names, size, tolerance,
// colour), as JSON to paste into the "Levels" of the generation options.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "zelta/app/cab/cab_json.h"
#include "zelta/app/selection/text_selection.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/cli/operation_names.h"
#include "zelta/pdf/text/page_text_service.h"

namespace zelta::cli {

namespace {

struct StyleArgs {
  std::string file, password, find;
  std::vector<std::string> selectText;
  int32_t index = 1;  // the bookmark level the printed level makes
};

std::u16string Folded(std::u16string text) {
  for (char16_t& c : text)
    if (c < 0x80) c = static_cast<char16_t>(std::tolower(c));
  return text;
}

// The first place the text is printed (case-insensitively, ASCII letters folded), as a
// --select-text argument "PAGE:x0,y0,x1,y1" around its characters; empty when not found.
std::string FindText(pdf::HostDocument* document, const std::string& text, std::string* where) {
  const std::u16string needle = Folded(ToUtf16(text));
  int32_t pageCount = 0;
  document->GetPageCount(&pageCount);
  std::vector<int32_t> pages(static_cast<size_t>(std::max(0, pageCount)));
  for (int32_t i = 0; i < pageCount; ++i) pages[static_cast<size_t>(i)] = i;
  auto service = pdf::MakePageTextService();
  ComPtr<IHostPageTextReader> reader;
  if (needle.empty() ||
      Failed(service->OpenReader(document, pages.data(), pageCount, -1, reader.Put())))
    return {};
  for (;;) {
    int32_t page = -1;
    ComPtr<IHostPageText> pageText;
    const HRESULT hr = reader->Next(&page, pageText.Put());
    if (hr == S_FALSE) return {};
    if (Failed(hr)) continue;
    const PageTextChar* chars = nullptr;
    int32_t count = 0;
    pageText->GetChars(&chars, &count);
    std::u16string codes;
    for (int32_t i = 0; i < count; ++i) codes += chars[i].code;
    const size_t at = Folded(std::move(codes)).find(needle);
    if (at == std::u16string::npos) continue;
    double left = chars[at].left, bottom = chars[at].bottom, right = chars[at].right,
           top = chars[at].top;
    for (size_t i = at; i < at + needle.size(); ++i) {
      left = std::min(left, chars[i].left);
      bottom = std::min(bottom, chars[i].bottom);
      right = std::max(right, chars[i].right);
      top = std::max(top, chars[i].top);
    }
    char box[160];
    std::snprintf(box, sizeof box, "%d:%.1f,%.1f,%.1f,%.1f", page + 1, left - 0.5, bottom - 0.5,
                  right + 0.5, top + 0.5);
    *where = box;
    return box;
  }
}

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

  std::vector<std::string> selectText = args.selectText;
  if (!args.find.empty()) {
    std::string where;
    const std::string found = FindText(document.Get(), args.find, &where);
    if (found.empty()) {
      PrintError("--find: \"" + args.find + "\" is not in the text of " + args.file);
      return kExitFailed;
    }
    std::cerr << "zelta: \"" << args.find << "\" found at " << where
              << " (page:x0,y0,x1,y1 in PDF points)\n";
    selectText = {found};
  }
  ComPtr<app::TextSelection> selection;
  std::string error;
  if (Failed(app::TextSelection::FromArguments(document.Get(), selectText, &selection, &error))) {
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
  // The describer leaves the level unplaced (Index 0, which makes no bookmark); the printed
  // level is to be pasted into Levels as it is, so it gets a real one.
  level->SetInt(u"Index", args.index);
  std::cout << app::CabToJson(level.Get()).dump(2) << "\n";
  return kExitChanged;
}

}  // namespace

void AddStyleCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand(
      "style", "Print the generation level that the style of selected text gives");
  auto args = std::make_shared<StyleArgs>();
  cmd->add_option("FILE", args->file, "The PDF")->required();
  auto* select =
      cmd->add_option(
             "--select-text", args->selectText,
             "Selected text: PAGE (1-based) and optionally a rectangle x0,y0,x1,y1 in PDF points, "
             "the origin at the bottom left of the page (y grows upwards)")
          ->allow_extra_args(false);
  auto* find = cmd->add_option("--find", args->find,
                               "Select the first place this text is printed (letter case aside), "
                               "e.g. --find \"Introduction\"");
  select->excludes(find);
  cmd->add_option("--index", args->index,
                  "The bookmark level the printed level makes (default 1, the top level)")
      ->check(CLI::Range(1, 256));
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->callback([args, &common, status] {
    if (args->selectText.empty() && args->find.empty()) {
      PrintError("style needs the text: --find TEXT or --select-text PAGE[:x0,y0,x1,y1]");
      *status = kExitUsage;
      return;
    }
    *status = Style(*args, common);
  });
}

}  // namespace zelta::cli
