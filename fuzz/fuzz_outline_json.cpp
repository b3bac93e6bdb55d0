// The outline JSON `zelta import` reads: any bytes, checked for what the reader promises
// (bounded titles, depths and destination values), built into a small document and printed
// back as JSON that must read again to the same number of bookmarks.
#include <string_view>

#include "fuzz/outline_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<zelta::app::OutlineNode> nodes;
  std::string error;
  if (!zelta::app::ReadOutlineJson(text, &nodes, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (zelta::app::CountJsonBookmarks(text) > zelta::kMaxImportedBookmarks) std::abort();
  fuzzing::CheckImport(std::move(nodes));
  return 0;
}
