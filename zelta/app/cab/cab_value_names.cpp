#include "zelta/app/cab/cab_value_names.h"

#include <cstdio>

#include "zelta/app/cab/cab_item.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

std::string NameList(const CabItemDesc& desc) {
  std::string list;
  for (const CabValueName& name : desc.valueNames)
    list += (list.empty() ? "" : ", ") + base::LossyUtf8(name.name);
  return list;
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace

const CabItemDesc* DescOf(ICabItem* item) {
  auto* own = dynamic_cast<CabItem*>(item);
  return own ? &own->Desc() : nullptr;
}

bool ParseNamedInt(const CabItemDesc& desc, std::string_view text, int32_t* value,
                   std::string* error) {
  if (desc.valueNames.empty()) return false;
  uint32_t result = 0;
  for (;;) {
    const size_t plus = text.find_first_of("+|");
    const std::string_view part = text.substr(0, plus);
    int32_t number = 0;
    if (ParseCabInt(part, &number)) {
      result |= static_cast<uint32_t>(number);
    } else {
      const CabValueName* found = nullptr;
      for (const CabValueName& name : desc.valueNames)
        if (base::LossyUtf8(name.name) == part) found = &name;
      if (!found) {
        if (error)
          *error = "'" + std::string(part) + "' is not a name of this value (the names are " +
                   NameList(desc) + "; numbers may be mixed in, e.g. name+0x10)";
        return false;
      }
      // An enumeration without a mask is the whole value.
      const uint32_t mask = found->mask ? static_cast<uint32_t>(found->mask) : ~0u;
      result = (result & ~mask) | static_cast<uint32_t>(found->value);
    }
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  *value = static_cast<int32_t>(result);
  return true;
}

std::string NamedIntText(const CabItemDesc& desc, int32_t value) {
  if (desc.valueNames.empty()) return {};
  const auto bits = static_cast<uint32_t>(value);
  uint32_t covered = 0;
  std::string text;
  auto add = [&](const CabValueName& name) {
    text += (text.empty() ? "" : "+") + base::LossyUtf8(name.name);
  };
  // Enumerations first (the value of a field, or the whole value), then the bits.
  for (const CabValueName& name : desc.valueNames) {
    if (name.bit) continue;
    const uint32_t mask = name.mask ? static_cast<uint32_t>(name.mask) : ~0u;
    if ((bits & mask) == static_cast<uint32_t>(name.value) && !(covered & mask)) {
      add(name);
      covered |= mask;
    }
  }
  for (const CabValueName& name : desc.valueNames) {
    const auto bit = static_cast<uint32_t>(name.value);
    if (name.bit && bit && (bits & bit) == bit && !(covered & bit)) {
      add(name);
      covered |= bit;
    }
  }
  if (const uint32_t rest = bits & ~covered) text += (text.empty() ? "" : "+") + Hex(rest);
  return text.empty() ? "0" : text;
}

std::string FieldNameList(ICabItem* dictionary) {
  std::string list;
  int32_t count = 0;
  if (!dictionary || Failed(dictionary->GetCount(&count))) return list;
  for (int32_t i = 0; i < count; ++i) {
    OwnedString name;
    if (dictionary->GetNameAt(i, name.Put()) != S_OK) continue;
    list += (list.empty() ? "" : ", ") + base::LossyUtf8(name.View());
  }
  return list;
}

}  // namespace zelta::app
