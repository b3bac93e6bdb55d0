// The plug-in's own result-code facility.
#pragma once

#include <cstdint>

namespace bm::support {

inline constexpr uint16_t kBookmarksFacility = 31;

// Registers facility 31 "Bookmarks" with its two messages (0x821F04C7 cancelled by the user,
// 0x821F1001 not permitted). Called when the module loads, and by the zelta program so that
// it can describe the plug-in's results; calling it again changes nothing.
void RegisterBookmarksFacility();

}  // namespace bm::support
