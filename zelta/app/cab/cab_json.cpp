#include "zelta/app/cab/cab_json.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_json_reader.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

// Host objects have no JSON form: neither an IUnknown item nor a list of them is written.
bool Writable(ICabItem* item) {
  int32_t type = kCabEmpty;
  item->GetType(&type);
  if (type == kCabUnknown) return false;
  return type != kCabArray || CabJsonReader::ElementType(item) != kCabUnknown;
}

std::string NameOf(ICabItem* item) {
  OwnedString name;
  item->GetName(name.Put());
  return base::LossyUtf8(name.View());
}

}  // namespace

nlohmann::ordered_json CabToJson(ICabItem* item) {
  if (!item) return nullptr;
  int32_t type = kCabEmpty;
  item->GetType(&type);
  switch (type) {
    case kCabInt: {
      int32_t value = 0;
      item->GetInt(nullptr, 0, &value);
      return value;
    }
    case kCabDouble: {
      double value = 0;
      item->GetDouble(nullptr, 0, &value);
      return value;
    }
    case kCabBool: {
      bool value = false;
      item->GetBool(nullptr, false, &value);
      return value;
    }
    case kCabString: {
      OwnedString text;
      item->GetText(nullptr, u"", text.Put());
      return base::LossyUtf8(text.View());
    }
    case kCabDictionary:
    case kCabArray: {
      nlohmann::ordered_json out =
          type == kCabArray ? nlohmann::ordered_json::array() : nlohmann::ordered_json::object();
      int32_t count = 0;
      item->GetCount(&count);
      for (int32_t i = 0; i < count; ++i) {
        ComPtr<ICabItem> child;
        if (item->GetItemAt(i, child.Put()) != S_OK || !child) continue;
        if (type == kCabArray) {
          out.push_back(CabToJson(child.Get()));
        } else if (Writable(child.Get())) {
          out[NameOf(child.Get())] = CabToJson(child.Get());
        }
      }
      return out;
    }
    default:
      return nullptr;
  }
}

HRESULT CabFromJson(ICabItem* target, const nlohmann::json& value, std::string* error) {
  if (!target) return E_POINTER;
  return GuardCall(
      [&]() -> HRESULT { return CabJsonReader::ApplyAll(target, value, NameOf(target), error); });
}

HRESULT CabMergeJson(ICabItem* target, const nlohmann::json& value,
                     std::vector<std::string>* warnings) {
  if (!target) return E_POINTER;
  return GuardCall([&]() -> HRESULT {
    CabJsonReader reader = CabJsonReader::Lenient(warnings);
    HRESULT hr = reader.Apply(target, value, NameOf(target));
    return Failed(hr) ? hr : S_OK;
  });
}

}  // namespace zelta::app
