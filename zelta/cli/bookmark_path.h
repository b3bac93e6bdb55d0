// Bookmarks addressed by their 1-based hierarchical position ("2", "3.1.4").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/bookmark.h"

namespace zelta::cli {

// Resolves a comma-separated list of positions against the outline root, in the order given.
// On failure returns false and an error naming the position that does not exist or does not
// parse.
bool ResolveBookmarkPositions(IHostBookmark* root, std::string_view list,
                              std::vector<ComPtr<IHostBookmark>>* bookmarks, std::string* error);

// The 1-based position of a bookmark ("2.1.3"); empty for the root or a detached item.
std::string BookmarkPosition(IHostBookmark* bookmark);

}  // namespace zelta::cli
