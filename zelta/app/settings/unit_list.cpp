#include "zelta/app/settings/unit_list.h"

#include <array>
#include <string_view>

#include "zelta/app/settings/host_strings.h"

namespace zelta::app {
namespace {

struct Unit {
  std::string_view stringId;
  double points;
};

constexpr std::array<Unit, 5> kUnits = {{
    {"units.points", 1},
    {"units.inches", 72},
    {"units.millimetres", 72 / 25.4},
    {"units.centimetres", 72 / 2.54},
    {"units.picas", 12},
}};

std::u16string_view NameOf(std::string_view stringId) {
  for (const HostString& text : HostStrings())
    if (text.id == stringId) return text.text;
  return {};
}

}  // namespace

HRESULT UnitList::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(kUnits.size());
  return S_OK;
}

HRESULT UnitList::GetUnit(int32_t index, BString* name, double* points) {
  if (!points) return E_POINTER;
  *points = 0;
  if (name) *name = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= kUnits.size()) return E_INVALIDARG;
  *points = kUnits[index].points;
  return name ? ReturnString(NameOf(kUnits[index].stringId), name) : S_OK;
}

}  // namespace zelta::app
