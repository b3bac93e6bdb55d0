// The parsed form of a Cab template: item descriptions and the item sets that group them.
// Both live as long as the CabSchema that owns them; Cab items point at them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/cab.h"

namespace zelta::app {

struct CabItemSet;

// A named value of an Int item, for people: a flag bit, or an enumeration value that occupies
// the bits of `mask` (all bits when the template gives no mask).
struct CabValueName {
  std::u16string name;    // "upper"
  std::u16string textId;  // the string that explains it; empty when the template names none
  int32_t value = 0;
  int32_t mask = 0;  // a bit's own value; an enumeration's field
  bool bit = false;
};

// One `Item` of the template: a field of a dictionary or the description of the elements of
// an array. Only the default matching `type` is meaningful.
struct CabItemDesc {
  std::u16string id;  // empty for an element description
  int32_t type = kCabEmpty;
  int32_t intDefault = 0;
  double doubleDefault = 0;
  bool boolDefault = false;
  std::u16string textDefault;
  // Dictionary: the set of its fields. Array: the set whose single item describes each element.
  const CabItemSet* inner = nullptr;

  // What people are told about the item (none of it changes a value):
  std::u16string textId;                 // the string that explains it; empty when none
  std::vector<CabValueName> valueNames;  // Int: its named bits and enumeration values
  std::u16string needsFlags;             // takes effect only with this bit of the nearest
  std::u16string needsBit;               //   enclosing Flags item ("Flags", "pattern")
  bool requiresBit = false;              // Int: a value without any bit set does nothing
};

// An `ItemSet` with every `ItemSetRef` expanded in place, in template order.
struct CabItemSet {
  std::u16string id;
  std::vector<const CabItemDesc*> items;

  const CabItemDesc* Find(std::u16string_view name) const {
    for (const CabItemDesc* item : items)
      if (item->id == name) return item;
    return nullptr;
  }
  // The element description when the set describes an array's elements.
  const CabItemDesc* Element() const { return items.size() == 1 ? items.front() : nullptr; }
};

}  // namespace zelta::app
