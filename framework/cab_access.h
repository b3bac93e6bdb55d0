// Typed access to Cab items. Every getter takes the template default of the field, so a
// missing or mistyped field reads like a fresh one; a null item reads as the default too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/cab.h"
#include "host/com.h"

namespace bm {

// The root dictionary of a Cab (null for a null Cab).
zelta::ComPtr<zelta::ICabItem> CabRoot(zelta::ICab* cab);
// A named field of a dictionary; null when missing.
zelta::ComPtr<zelta::ICabItem> CabItem(zelta::ICabItem* dictionary, const char16_t* name);

int32_t CabInt(zelta::ICabItem* dictionary, const char16_t* name, int32_t def);
double CabDouble(zelta::ICabItem* dictionary, const char16_t* name, double def);
bool CabBool(zelta::ICabItem* dictionary, const char16_t* name, bool def);
std::u16string CabText(zelta::ICabItem* dictionary, const char16_t* name, const char16_t* def);
zelta::ComPtr<zelta::IUnknown> CabObject(zelta::ICabItem* dictionary, const char16_t* name);

// The texts of an array of strings, in order (empty for a missing array).
std::vector<std::u16string> CabStrings(zelta::ICabItem* array);
// Replaces the elements of an array of strings.
zelta::HRESULT SetCabStrings(zelta::ICabItem* array, const std::vector<std::u16string>& texts);

// The objects of an "Input" or "Output" item: the elements of an Array, or the one object of
// an IUnknown item (none when it is null).
std::vector<zelta::ComPtr<zelta::IUnknown>> CabObjects(zelta::ICabItem* item);
// Sets an "Input" or "Output" item: an Array is cleared (unless append) and gets one element
// per object; an IUnknown item is set to the first object (null when there is none).
zelta::HRESULT SetCabObjects(zelta::ICabItem* item, const std::vector<zelta::IUnknown*>& objects,
                             bool append = false);

}  // namespace bm
