// Options as a user gives them: JSON text (an --options file) or one --set PATH=VALUE, applied
// to the options of an operation made from the module's own template.
//
// Input: byte 0 picks the operation, byte 1 the form (even: JSON, odd: PATH=VALUE), the rest
// is the text. Beyond "no crash", this checks what the readers promise: a strict read that
// fails leaves the options as they were, one that succeeds writes JSON that reads back to the
// same options, and the lenient read of stored settings never fails.
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/embedded_resource.h"
#include "zelta/app/cab/cab_factory.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/base/text_codec.h"

namespace {

using zelta::ComPtr;
using zelta::ICabItem;

constexpr int kTemplateResource = 103;
const char16_t* const kRoots[] = {
    u"AGBOperationRoot", u"VBOperationRoot",  u"ToTOCOperationRoot", u"FromTOCOperationRoot",
    u"SBOperationRoot",  u"CBCOperationRoot", u"ATBOperationRoot",   u"BNDOperationRoot",
    u"FRTOperationRoot", u"BFTOperationRoot", u"BENPOperationRoot",  u"PluginRoot"};

const std::u16string& TemplateText() {
  static const std::u16string text = [] {
    auto bytes = bm::platform::FindResource("XML", kTemplateResource);
    auto utf16 = zelta::base::StrictUtf16(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!utf16 || utf16->empty()) std::abort();
    return *utf16;
  }();
  return text;
}

// The "Options" of a fresh operation root (the root itself for roots without one).
ComPtr<ICabItem> FreshOptions(const char16_t* rootId) {
  static ComPtr<zelta::ICabFactory> factory = zelta::app::MakeCabFactory();
  ComPtr<zelta::ICab> cab;
  ComPtr<ICabItem> root, options;
  const std::u16string& text = TemplateText();
  if (factory->CreateCab(text.c_str(), static_cast<int32_t>(text.size()), rootId, cab.Put()) !=
          zelta::S_OK ||
      cab->GetRoot(root.Put()) != zelta::S_OK)
    std::abort();
  if (root->GetItem(u"Options", options.Put()) != zelta::S_OK) return root;
  return options;
}

// Strict UTF-8 throughout: whatever went in, what comes out must be printable JSON.
std::string Dump(ICabItem* item) { return zelta::app::CabToJson(item).dump(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char16_t* rootId = kRoots[data[0] % std::size(kRoots)];
  const bool setPath = data[1] & 1;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  ComPtr<ICabItem> options = FreshOptions(rootId);
  const std::string before = Dump(options.Get());
  std::string error;

  if (setPath) {
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) return 0;
    if (zelta::Failed(zelta::app::CabSetPath(options.Get(), text.substr(0, eq), text.substr(eq + 1),
                                             &error)) &&
        error.empty())
      std::abort();  // a refusal always says why
    Dump(options.Get());
    return 0;
  }

  const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
  if (value.is_discarded()) return 0;
  if (zelta::Failed(zelta::app::CabFromJson(options.Get(), value, &error))) {
    if (error.empty() || Dump(options.Get()) != before) std::abort();
  } else {
    const std::string after = Dump(options.Get());
    ComPtr<ICabItem> again = FreshOptions(rootId);
    if (zelta::app::CabFromJson(again.Get(), nlohmann::json::parse(after), &error) != zelta::S_OK ||
        Dump(again.Get()) != after)
      std::abort();
  }
  std::vector<std::string> warnings;
  if (zelta::app::CabMergeJson(FreshOptions(rootId).Get(), value, &warnings) != zelta::S_OK)
    std::abort();
  return 0;
}
