// The process-wide table of the ids the plug-in compares as atoms: events, menus, commands,
// string ids, selections, action types, operations and dialogs (144 ids, interned in a fixed
// order on the first initialisation).
#pragma once

#include <span>
#include <string_view>

#include "host/app.h"
#include "host/com.h"

namespace bm {

inline constexpr size_t kAtomTableSize = 144;

// The ids in interning order.
std::span<const std::u16string_view> AtomTableIds();

// Interns every id of the table through the host. Runs once per host application; later
// calls with the same host do nothing. Ids the host refuses keep kNoAtom.
void InternAtomTable(zelta::IHostApp* app);

// The atom of an id of the table; kNoAtom before interning or for an id not in the table.
zelta::Atom AtomOf(std::u16string_view id);

// The atom of any id, through the table when it is there, otherwise interned on the spot.
zelta::Atom InternId(zelta::IHostApp* app, std::u16string_view id);

}  // namespace bm
