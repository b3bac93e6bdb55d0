#include "zelta/cli/suggested_options.h"

#include "zelta/app/cab/cab_json.h"
#include "zelta/base/result_text.h"
#include "zelta/cli/operation_names.h"
#include "zelta/cli/session.h"

namespace zelta::cli {

namespace {

Atom Intern(app::HostApp& app, std::string_view text) {
  const std::u16string wide = ToUtf16(text);
  Atom atom = kNoAtom;
  app.InternString(wide.c_str(), static_cast<int32_t>(wide.size()), &atom);
  return atom;
}

ComPtr<ICabItem> ParamItem(IHostOperation* operation, const char16_t* name) {
  ComPtr<ICab> params;
  ComPtr<ICabItem> root, item;
  if (!operation || Failed(operation->GetParams(params.Put())) || !params ||
      Failed(params->GetRoot(root.Put())) || !root || root->GetItem(name, item.Put()) != S_OK)
    return nullptr;
  return item;
}

// The value without what equals the defaults (the same place in fresh options), so that a
// user reads and edits only what the suggestion chose. Array elements are compared with a new
// element of the default array.
nlohmann::ordered_json WithoutDefaults(const nlohmann::ordered_json& value, ICabItem* defaults) {
  if (!defaults) return value;
  int32_t type = 0;
  defaults->GetType(&type);
  if (type == kCabDictionary && value.is_object()) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [key, child] : value.items()) {
      ComPtr<ICabItem> fresh;
      const std::u16string name = ToUtf16(key);
      if (defaults->GetItem(name.c_str(), fresh.Put()) != S_OK || !fresh) {
        out[key] = child;
        continue;
      }
      int32_t childType = 0;
      fresh->GetType(&childType);
      // Arrays of fresh options are empty.
      if (childType == kCabArray
              ? child.is_array() && child.empty()
              : childType != kCabDictionary && app::CabToJson(fresh.Get()) == child)
        continue;
      auto pruned = WithoutDefaults(child, fresh.Get());
      if (!(pruned.is_object() && pruned.empty())) out[key] = std::move(pruned);
    }
    return out;
  }
  if (type == kCabArray && value.is_array()) {
    if (value.empty()) return value;
    int32_t count = 0;
    defaults->GetCount(&count);
    ComPtr<ICabItem> element;
    if (Failed(defaults->Insert(-1, element.Put())) || !element) return value;
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& child : value) out.push_back(WithoutDefaults(child, element.Get()));
    // The defaults stay as fresh options hold them.
    defaults->RemoveAt(count);
    return out;
  }
  return value;
}

}  // namespace

bool SuggestOptions(app::HostApp& app, IHostDocument* document, int32_t flags,
                    SuggestedOptions* out) {
  const auto id = FindOperationWithTraits(app, kOperationSuggestsOptions);
  ComPtr<IHostOperation> operation;
  if (!id || Failed(app.CreateOperation(Intern(app, *id), operation.Put())) || !operation) {
    PrintError("no loaded module suggests options from a document");
    return false;
  }
  auto input = ParamItem(operation.Get(), u"Input");
  if (!input || Failed(input->SetObject(nullptr, document))) {
    PrintError("cannot set the input of the suggestion");
    return false;
  }
  const HRESULT hr = app.RunOperation(operation.Get(), flags, 0);
  auto output = ParamItem(operation.Get(), u"Output");
  ComPtr<ICabItem> options;
  if (Failed(hr) || !output || output->GetItem(u"Options", options.Put()) != S_OK) {
    PrintError(Failed(hr) ? ToUtf8(base::DescribeResult(hr)) : "the suggestion left no options");
    return false;
  }
  auto text = [&](const char16_t* name) {
    ComPtr<ICabItem> item;
    if (output->GetItem(name, item.Put()) != S_OK) return std::string();
    auto json = app::CabToJson(item.Get());
    return json.is_string() ? json.get<std::string>() : std::string();
  };
  out->operation = text(u"Operation");
  out->explanation = text(u"Explanation");
  out->doubt = text(u"Doubt");
  out->warning = text(u"Warning");
  ComPtr<ICabItem> confidence;
  if (output->GetItem(u"Confidence", confidence.Put()) == S_OK) {
    auto json = app::CabToJson(confidence.Get());
    if (json.is_number()) out->confidence = json.get<double>();
  }
  ComPtr<ICabItem> found;
  out->found = output->GetItem(u"Found", found.Put()) == S_OK &&
               app::CabToJson(found.Get()) == nlohmann::ordered_json(true);
  // The defaults are those of the operation the options are for.
  ComPtr<IHostOperation> target;
  ComPtr<ICabItem> defaults;
  if (!out->operation.empty() &&
      Succeeded(app.CreateOperation(Intern(app, out->operation), target.Put())) && target)
    defaults = ParamItem(target.Get(), u"Options");
  out->options = std::move(options);
  out->defaults = std::move(defaults);
  return true;
}

nlohmann::ordered_json SuggestedOptionsJson(const SuggestedOptions& suggestion) {
  return WithoutDefaults(app::CabToJson(suggestion.options.Get()), suggestion.defaults.Get());
}

std::string UnsureMessage(const std::string& file, const SuggestedOptions& suggestion) {
  return file + ": unsure of the headings: " + suggestion.doubt + ". See `zelta suggest " + file +
         " --explain`, pick heading styles with `zelta fonts` or "
         "`zelta style --find TEXT`, or use --force to take the suggestion as it is";
}

}  // namespace zelta::cli
