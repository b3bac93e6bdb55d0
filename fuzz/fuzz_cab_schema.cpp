// Options templates (the XML that describes every option, its type and default): parsed, and
// when they parse, every root (at most a few) made into a Cab whose values print as JSON and
// read back into a fresh Cab of the same root unchanged.
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <string>

#include "fuzz/fuzz_text.h"
#include "zelta/app/cab/cab_factory.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_schema.h"
#include "zelta/app/cab/cab_schema_parser.h"
#include "zelta/base/text_codec.h"

namespace {

using zelta::ComPtr;
using zelta::ICabItem;

constexpr int kMaxRoots = 4;

ComPtr<ICabItem> Root(const std::u16string& text, const std::u16string& id) {
  static ComPtr<zelta::ICabFactory> factory = zelta::app::MakeCabFactory();
  ComPtr<zelta::ICab> cab;
  ComPtr<ICabItem> root;
  if (factory->CreateCab(text.c_str(), static_cast<int32_t>(text.size()), id.c_str(), cab.Put()) !=
          zelta::S_OK ||
      cab->GetRoot(root.Put()) != zelta::S_OK)
    std::abort();  // the template parsed and names this root
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = fuzzing::LooseUtf16(bytes);
  zelta::app::CabSchema schema;
  std::string error;
  const zelta::HRESULT parsed = zelta::app::CabSchemaParser::Parse(text, &schema, &error);
  if (zelta::Failed(parsed)) {
    if (parsed == zelta::E_FAIL && error.empty()) std::abort();  // a malformed template says why
    return 0;
  }
  const auto utf8 = zelta::base::StrictUtf8(text);
  pugi::xml_document doc;
  if (!utf8 || !doc.load_buffer(utf8->data(), utf8->size())) return 0;
  int roots = 0;
  for (pugi::xml_node node : doc.document_element().children("Root")) {
    if (++roots > kMaxRoots) break;
    const auto id = zelta::base::StrictUtf16(node.attribute("id").as_string());
    if (!id || !schema.Root(*id)) continue;
    ComPtr<ICabItem> root = Root(text, *id);
    const std::string values = zelta::app::CabToJson(root.Get()).dump();
    ComPtr<ICabItem> again = Root(text, *id);
    if (zelta::app::CabFromJson(again.Get(), nlohmann::json::parse(values), &error) !=
            zelta::S_OK ||
        zelta::app::CabToJson(again.Get()).dump() != values)
      std::abort();
  }
  return 0;
}
