// The host's bookmark operations: their parameter template and their registration.
#pragma once

#include <string_view>

#include "host/cab.h"
#include "host/com.h"

namespace zelta::app {

class HostApp;

// The CabTemplate of the host operations' parameters (roots named after the operations).
std::u16string_view HostOperationTemplate();

// Registers "op.bookmarks.delete", "op.bookmarks.addNew.simple", "op.bookmarks.setProps",
// "op.bookmarks.move", "op.document.insertEmptyPages" and "op.annots.addNew" with the
// application; each creation makes a fresh parameter Cab
// with the AUX factory.
HRESULT RegisterBookmarkHostOperations(HostApp& app, ICabFactory* cabs);

}  // namespace zelta::app
