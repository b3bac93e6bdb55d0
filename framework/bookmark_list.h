// An ordered list of bookmarks, each entry holding one reference.
#pragma once

#include <vector>

#include "host/bookmark.h"
#include "host/com.h"

namespace bm {

using BookmarkList = std::vector<zelta::ComPtr<zelta::IHostBookmark>>;

}  // namespace bm
