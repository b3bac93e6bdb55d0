// Handing options from one Cab to another of the same template: only what differs from the
// defaults is taken, so the receiving options keep their own values everywhere else.
#pragma once

#include <string>

#include "host/cab.h"

namespace zelta::app {

// Copies into target the values of source that differ from defaults (fresh items of the same
// template, unchanged by the call). A value equal to its default, or an empty array, leaves
// target's as it is; a dictionary is handed over field by field in the same way; any other
// array replaces target's elements with copies of source's. Without defaults target takes
// the whole of source. Host objects are not copied. A field target lacks or a value of
// another type fails with E_INVALIDARG, *error naming the dotted path ("Options.Levels:
// expected an array, got a string"), and target unchanged.
HRESULT CabCopyChanges(ICabItem* target, ICabItem* source, ICabItem* defaults, std::string* error);

}  // namespace zelta::app
