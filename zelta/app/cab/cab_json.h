// Cab values as JSON, for options on the command line and for persisted settings: a
// Dictionary is an object of its fields by id, an Array a JSON array of its elements' values
// (an element described by a Dictionary is an object), Int/Double/Bool/String are numbers,
// booleans and strings. IUnknown items (host objects) are neither written nor set.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "host/cab.h"

namespace zelta::app {

// The item's value as JSON (null for an IUnknown item; null when item is null). Fields keep
// the template's order.
nlohmann::ordered_json CabToJson(ICabItem* item);

// Sets target from JSON. Fields left out keep their values; an array takes exactly the given
// elements. An unknown name, a value of the wrong type, an integer outside 32 bits or an
// attempt to set a host object fails with E_INVALIDARG and *error naming the dotted path,
// e.g. "Options.Flags: expected an integer, got string". Paths start with the target's own
// name when it has one. On failure the target is left unchanged.
HRESULT CabFromJson(ICabItem* target, const nlohmann::json& value, std::string* error);

// Lenient form for stored settings: every value of the right type is taken; unknown names are
// ignored, and a value of the wrong type leaves the item as it is, with a warning that names
// its path. Always succeeds unless out of memory.
HRESULT CabMergeJson(ICabItem* target, const nlohmann::json& value,
                     std::vector<std::string>* warnings);

// The command line's --set PATH=VALUE. PATH is dotted from root ("PagesRange.Text"); array
// elements are addressed as "Levels[0]" or "Levels.0". VALUE by the item's type: Int in
// decimal or 0x hexadecimal (0x80000000 and up wrap to negative, as flag words do), Double a
// number, Bool true/false/1/0, String the raw text, Array and Dictionary JSON text.
// E_INVALIDARG with *error naming the path for an unknown name or a bad value.
HRESULT CabSetPath(ICabItem* root, std::string_view path, std::string_view value,
                   std::string* error);

}  // namespace zelta::app
