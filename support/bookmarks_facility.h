// The plug-in's own result-code facility, registered with the host's result texts.
#pragma once

#include <cstdint>

#include "host/app.h"
#include "host/results.h"

namespace bm::support {

inline constexpr uint16_t kBookmarksFacility = 31;

// Registers facility 31 "Bookmarks" with its two messages (0x821F04C7 cancelled by the user,
// 0x821F1001 not permitted) with the host's result texts. Called when the module loads;
// calling it again changes nothing. A null service does nothing.
void RegisterBookmarksFacility(zelta::IResultTexts* texts);

// The same through the application's "RTX" component; nothing when the host has none.
void RegisterBookmarksFacility(zelta::IHostApp* app);

}  // namespace bm::support
