#include "framework/cab_access.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::ICabItem;

ComPtr<ICabItem> CabRoot(zelta::ICab* cab) {
  ComPtr<ICabItem> root;
  if (cab) cab->GetRoot(root.Put());
  return root;
}

ComPtr<ICabItem> CabItem(ICabItem* dictionary, const char16_t* name) {
  ComPtr<ICabItem> item;
  if (dictionary && name) dictionary->GetItem(name, item.Put());
  return item;
}

int32_t CabInt(ICabItem* dictionary, const char16_t* name, int32_t def) {
  int32_t value = def;
  if (!dictionary || dictionary->GetInt(name, def, &value) < 0) return def;
  return value;
}

double CabDouble(ICabItem* dictionary, const char16_t* name, double def) {
  double value = def;
  if (!dictionary || dictionary->GetDouble(name, def, &value) < 0) return def;
  return value;
}

bool CabBool(ICabItem* dictionary, const char16_t* name, bool def) {
  bool value = def;
  if (!dictionary || dictionary->GetBool(name, def, &value) < 0) return def;
  return value;
}

std::u16string CabText(ICabItem* dictionary, const char16_t* name, const char16_t* def) {
  zelta::OwnedString value;
  if (!dictionary || dictionary->GetText(name, def, value.Put()) < 0) return def ? def : u"";
  return value.Str();
}

ComPtr<zelta::IUnknown> CabObject(ICabItem* dictionary, const char16_t* name) {
  ComPtr<zelta::IUnknown> value;
  if (dictionary) dictionary->GetObject(name, value.Put());
  return value;
}

std::vector<std::u16string> CabStrings(ICabItem* array) {
  std::vector<std::u16string> texts;
  int32_t count = 0;
  if (!array || array->GetCount(&count) < 0) return texts;
  texts.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    if (array->GetItemAt(i, element.Put()) != zelta::S_OK || !element) continue;
    texts.push_back(CabText(element.Get(), nullptr, u""));
  }
  return texts;
}

HRESULT SetCabStrings(ICabItem* array, const std::vector<std::u16string>& texts) {
  if (!array) return zelta::E_POINTER;
  HRESULT hr = array->Clear();
  if (zelta::Failed(hr)) return hr;
  for (const std::u16string& text : texts) {
    ComPtr<ICabItem> element;
    hr = array->Insert(-1, element.Put());
    if (zelta::Failed(hr)) return hr;
    if (!element) return zelta::E_FAIL;
    hr = element->SetText(nullptr, text.c_str(), static_cast<int32_t>(text.size()));
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_OK;
}

std::vector<ComPtr<zelta::IUnknown>> CabObjects(ICabItem* item) {
  std::vector<ComPtr<zelta::IUnknown>> objects;
  int32_t type = zelta::kCabEmpty;
  if (!item || item->GetType(&type) < 0) return objects;
  if (type == zelta::kCabUnknown) {
    if (auto object = CabObject(item, nullptr)) objects.push_back(object);
    return objects;
  }
  if (type != zelta::kCabArray) return objects;
  int32_t count = 0;
  item->GetCount(&count);
  objects.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> element;
    if (item->GetItemAt(i, element.Put()) != zelta::S_OK || !element) continue;
    objects.push_back(CabObject(element.Get(), nullptr));
  }
  return objects;
}

HRESULT SetCabObjects(ICabItem* item, const std::vector<zelta::IUnknown*>& objects, bool append) {
  if (!item) return zelta::E_POINTER;
  int32_t type = zelta::kCabEmpty;
  HRESULT hr = item->GetType(&type);
  if (zelta::Failed(hr)) return hr;
  if (type == zelta::kCabUnknown)
    return item->SetObject(nullptr, objects.empty() ? nullptr : objects.front());
  if (type != zelta::kCabArray) return zelta::E_INVALIDARG;
  if (!append) {
    hr = item->Clear();
    if (zelta::Failed(hr)) return hr;
  }
  for (zelta::IUnknown* object : objects) {
    ComPtr<ICabItem> element;
    hr = item->Insert(-1, element.Put());
    if (zelta::Failed(hr)) return hr;
    if (!element) return zelta::E_FAIL;
    hr = element->SetObject(nullptr, object);
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_OK;
}

}  // namespace bm
