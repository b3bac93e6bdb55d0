#include "zelta/app/cab/cab_json_reader.h"

#include <cmath>
#include <cstdint>

#include "zelta/app/cab/cab_item.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/app/cab/cab_value_names.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

std::string Got(const nlohmann::json& value) { return std::string("got ") + value.type_name(); }

}  // namespace

std::string CabJsonReader::Join(const std::string& path, const std::string& name) {
  return path.empty() ? name : path + "." + name;
}

std::string CabJsonReader::Index(const std::string& path, size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

int32_t CabJsonReader::ElementType(ICabItem* array) {
  auto* own = dynamic_cast<CabItem*>(array);
  if (own) return own->Desc().type == kCabArray ? own->Desc().inner->Element()->type : kCabEmpty;
  ComPtr<ICabItem> first;
  int32_t type = kCabEmpty;
  if (array && array->GetItemAt(0, first.Put()) == S_OK && first) first->GetType(&type);
  return type;
}

const char* CabJsonReader::Expected(int32_t type) {
  switch (type) {
    case kCabInt:
      return "an integer";
    case kCabDouble:
      return "a number";
    case kCabBool:
      return "true or false";
    case kCabString:
      return "a string";
    case kCabArray:
      return "an array";
    case kCabDictionary:
      return "an object";
    default:
      return "a host object";
  }
}

HRESULT CabJsonReader::Problem(const std::string& path, const std::string& message) {
  std::string text = (path.empty() ? std::string("(options)") : path) + ": " + message;
  if (!lenient_) {
    error_ = std::move(text);
    return E_INVALIDARG;
  }
  if (warnings_) warnings_->push_back(std::move(text));
  return S_FALSE;
}

HRESULT CabJsonReader::ApplyAll(ICabItem* target, const nlohmann::json& value,
                                const std::string& path, std::string* error) {
  if (!target) return E_POINTER;
  auto* own = dynamic_cast<CabItem*>(target);
  ComPtr<CabItem> work;
  if (own) {
    HRESULT hr = own->Clone(&work);
    if (Failed(hr)) return hr;
  }
  CabJsonReader reader = Strict();
  HRESULT hr = reader.Apply(work ? static_cast<ICabItem*>(work.Get()) : target, value, path);
  if (Failed(hr)) {
    if (error) *error = reader.Error();
    return hr;
  }
  return work ? target->CopyFrom(work.Get()) : S_OK;
}

HRESULT CabJsonReader::Apply(ICabItem* item, const nlohmann::json& value, const std::string& path) {
  if (!item) return E_POINTER;
  int32_t type = kCabEmpty;
  HRESULT hr = item->GetType(&type);
  if (Failed(hr)) return hr;
  if (type == kCabDictionary) return ApplyObject(item, value, path);
  if (type == kCabArray) return ApplyArray(item, value, path);
  return ApplyScalar(item, type, value, path);
}

HRESULT CabJsonReader::ApplyScalar(ICabItem* item, int32_t type, const nlohmann::json& value,
                                   const std::string& path) {
  std::string mismatch = std::string("expected ") + Expected(type) + ", " + Got(value);
  switch (type) {
    case kCabInt: {
      // A string names the value by the template's names ("upper+selected"); a number stays
      // a JSON number.
      int32_t number = 0;
      if (const CabItemDesc* desc = DescOf(item);
          desc && value.is_string() && !ParseCabInt(value.get_ref<const std::string&>(), &number)) {
        int32_t named = 0;
        std::string why;
        if (!ParseNamedInt(*desc, value.get_ref<const std::string&>(), &named, &why))
          return Problem(path, why.empty() ? mismatch : why);
        return item->SetInt(nullptr, named);
      }
      // Integral floats (3.0, 1e3) count as integers; anything outside 32 bits is refused.
      if (!value.is_number()) return Problem(path, mismatch);
      std::string outOfRange = value.dump() + " is outside the 32-bit integer range";
      int64_t whole = 0;
      if (value.is_number_unsigned()) {
        if (value.get<uint64_t>() > INT32_MAX) return Problem(path, outOfRange);
        whole = static_cast<int64_t>(value.get<uint64_t>());
      } else if (value.is_number_integer()) {
        whole = value.get<int64_t>();
      } else {
        double number = value.get<double>();
        if (std::trunc(number) != number)
          return Problem(path, "expected an integer, got " + value.dump());
        if (number < INT32_MIN || number > INT32_MAX) return Problem(path, outOfRange);
        whole = static_cast<int64_t>(number);
      }
      if (whole < INT32_MIN || whole > INT32_MAX) return Problem(path, outOfRange);
      return item->SetInt(nullptr, static_cast<int32_t>(whole));
    }
    case kCabDouble:
      if (!value.is_number()) return Problem(path, mismatch);
      return item->SetDouble(nullptr, value.get<double>());
    case kCabBool:
      if (!value.is_boolean()) return Problem(path, mismatch);
      return item->SetBool(nullptr, value.get<bool>());
    case kCabString: {
      if (!value.is_string()) return Problem(path, mismatch);
      auto text = base::StrictUtf16(value.get_ref<const std::string&>());
      if (!text) return Problem(path, "the text is not valid UTF-8");
      return item->SetText(nullptr, text->data(), static_cast<int32_t>(text->size()));
    }
    default:
      return Problem(path, "a host object cannot be set");
  }
}

HRESULT CabJsonReader::ApplyObject(ICabItem* item, const nlohmann::json& value,
                                   const std::string& path) {
  if (!value.is_object()) return Problem(path, std::string("expected an object, ") + Got(value));
  for (const auto& [key, fieldValue] : value.items()) {
    std::string fieldPath = Join(path, key);
    auto name = base::StrictUtf16(key);
    ComPtr<ICabItem> field;
    if (!name || name->empty() || item->GetItem(name->c_str(), field.Put()) != S_OK || !field) {
      // Stored settings may hold items of another version of the template: not a problem.
      if (lenient_) continue;
      return Problem(fieldPath,
                     "unknown option (the options here are " + FieldNameList(item) + ")");
    }
    HRESULT hr = Apply(field.Get(), fieldValue, fieldPath);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

HRESULT CabJsonReader::ApplyArray(ICabItem* item, const nlohmann::json& value,
                                  const std::string& path) {
  if (!value.is_array()) return Problem(path, std::string("expected an array, ") + Got(value));
  int32_t elementType = ElementType(item);
  if (elementType == kCabUnknown) return Problem(path, "a list of host objects cannot be set");
  if (value.size() > static_cast<size_t>(CabItem::kMaxElements))
    return Problem(path, "more than " + std::to_string(CabItem::kMaxElements) + " elements");
  HRESULT hr = item->Clear();
  if (Failed(hr)) return hr;
  for (size_t i = 0; i < value.size(); ++i) {
    ComPtr<ICabItem> element;
    hr = item->Insert(-1, element.Put());
    if (hr == E_FAIL)
      return Problem(Index(path, i),
                     "nested deeper than " + std::to_string(CabItem::kMaxDepth) + " levels");
    if (Failed(hr)) return hr;
    hr = Apply(element.Get(), value[i], Index(path, i));
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zelta::app
