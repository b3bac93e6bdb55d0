// The names the template gives to values of Int items (flag bits, enumeration values), as
// people write them: "upper", "stopWords+ignoreDuplicates", "sentence+0x200".
#pragma once

#include <string>
#include <string_view>

#include "host/cab.h"
#include "zelta/app/cab/cab_item_desc.h"

namespace zelta::app {

// The template's description of an item of a Cab this host made; null for any other item.
const CabItemDesc* DescOf(ICabItem* item);

// Reads names and numbers joined by '+' (or '|'). A bit is or-ed in; an enumeration value
// replaces the bits of its field. False, with *error listing the names, for an unknown name.
bool ParseNamedInt(const CabItemDesc& desc, std::string_view text, int32_t* value,
                   std::string* error);

// The value in names ("upper+selected"), with any bits no name covers as 0x hexadecimal;
// empty when the item names no values.
std::string NamedIntText(const CabItemDesc& desc, int32_t value);

// "A, B and C": the field names of a dictionary item, for messages.
std::string FieldNameList(ICabItem* dictionary);

}  // namespace zelta::app
