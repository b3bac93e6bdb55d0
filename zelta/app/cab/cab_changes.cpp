#include "zelta/app/cab/cab_changes.h"

#include "host/call_guard.h"
#include "zelta/app/cab/cab_item.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_json_reader.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

int32_t TypeOf(ICabItem* item) {
  int32_t type = kCabEmpty;
  item->GetType(&type);
  return type;
}

int32_t CountOf(ICabItem* item) {
  int32_t count = 0;
  item->GetCount(&count);
  return count;
}

// Host objects, alone or in a list, are not options one Cab hands to another.
bool HoldsHostObjects(ICabItem* item) {
  const int32_t type = TypeOf(item);
  return type == kCabUnknown ||
         (type == kCabArray && CabJsonReader::ElementType(item) == kCabUnknown);
}

class ChangeCopier {
 public:
  HRESULT Copy(ICabItem* target, ICabItem* source, ICabItem* defaults, const std::string& path) {
    const int32_t type = TypeOf(source);
    if (TypeOf(target) != type)
      return Problem(path, std::string("expected ") + CabJsonReader::Expected(TypeOf(target)) +
                               ", got " + CabJsonReader::Expected(type));
    if (type != kCabDictionary) return target->CopyFrom(source);
    if (defaults && TypeOf(defaults) != kCabDictionary) defaults = nullptr;
    for (int32_t i = 0, count = CountOf(source); i < count; ++i) {
      ComPtr<ICabItem> child;
      OwnedString name;
      if (source->GetItemAt(i, child.Put()) != S_OK || !child || HoldsHostObjects(child.Get()) ||
          Failed(child->GetName(name.Put())))
        continue;
      const std::string childPath = CabJsonReader::Join(path, base::LossyUtf8(name.View()));
      ComPtr<ICabItem> into, fresh;
      if (target->GetItem(name.Str().c_str(), into.Put()) != S_OK || !into)
        return Problem(childPath, "unknown option");
      if (defaults) defaults->GetItem(name.Str().c_str(), fresh.Put());
      if (fresh && Unchanged(child.Get(), fresh.Get())) continue;
      HRESULT hr = Copy(into.Get(), child.Get(), fresh.Get(), childPath);
      if (Failed(hr)) return hr;
    }
    return S_OK;
  }

  const std::string& Error() const { return error_; }

 private:
  // A value as it is in fresh options; arrays of fresh options are empty.
  static bool Unchanged(ICabItem* value, ICabItem* fresh) {
    switch (TypeOf(fresh)) {
      case kCabArray:
        return TypeOf(value) == kCabArray && CountOf(value) == 0;
      case kCabDictionary:
        return false;
      default:
        return CabToJson(fresh) == CabToJson(value);
    }
  }

  HRESULT Problem(const std::string& path, const std::string& message) {
    error_ = (path.empty() ? std::string("(options)") : path) + ": " + message;
    return E_INVALIDARG;
  }

  std::string error_;
};

}  // namespace

HRESULT CabCopyChanges(ICabItem* target, ICabItem* source, ICabItem* defaults, std::string* error) {
  if (!target || !source) return E_POINTER;
  return GuardCall([&]() -> HRESULT {
    // Changes are made to a copy first, so that a value that does not fit leaves target as
    // it was.
    ComPtr<ICabItem> work(target);
    if (auto* own = dynamic_cast<CabItem*>(target)) {
      ComPtr<CabItem> copy;
      HRESULT hr = own->Clone(&copy);
      if (Failed(hr)) return hr;
      work = ComPtr<ICabItem>(copy.Get());
    }
    OwnedString name;
    target->GetName(name.Put());
    ChangeCopier copier;
    HRESULT hr = copier.Copy(work.Get(), source, defaults, base::LossyUtf8(name.View()));
    if (Failed(hr)) {
      if (error) *error = copier.Error();
      return hr;
    }
    return work.Get() == target ? S_OK : target->CopyFrom(work.Get());
  });
}

}  // namespace zelta::app
