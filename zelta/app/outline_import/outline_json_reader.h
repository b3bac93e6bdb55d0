// Reads an outline from the JSON that `zelta outline --json` prints ({"bookmarks": [NODE...]}
// or a bare [NODE...]): titles, styles, colours, open states, every action kind the host can
// make with its destination, and the nesting. Iterative, so any depth reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zelta/app/outline_import/outline_node.h"

namespace zelta::app {

// False with *error naming the place ("bookmarks[2].children[0].actions[1]: ...") for text
// that is not such JSON, a title past kMaxBookmarkTitle or a destination value out of range
// (DestinationValueInRange); false before anything is parsed for more than
// kMaxImportedBookmarks bookmarks.
bool ReadOutlineJson(std::string_view text, std::vector<OutlineNode>* nodes, std::string* error);

// The bookmarks of such JSON, counted from its brackets and keys without parsing it (a key
// spelt with escapes is not recognised).
size_t CountJsonBookmarks(std::string_view text);

}  // namespace zelta::app
