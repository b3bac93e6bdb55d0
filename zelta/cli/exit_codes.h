// Exit statuses of the zelta program.
#pragma once

namespace zelta::cli {

inline constexpr int kExitChanged = 0;   // the run changed the document; OUT was written
inline constexpr int kExitFailed = 1;    // the run failed; nothing was written
inline constexpr int kExitUsage = 2;     // bad usage or an unreadable input
inline constexpr int kExitNoChange = 3;  // the run succeeded without changes; OUT was written
inline constexpr int kExitInvalid = 4;   // zelta check: the outline has invalid bookmarks

}  // namespace zelta::cli
