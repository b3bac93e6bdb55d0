// pdftk data as `zelta import` reads it: any bytes (entities, huge and negative numbers,
// levels that jump), checked for what the reader promises and built into a small document
// whose outline must then read back as JSON.
#include <string_view>

#include "fuzz/outline_import.h"
#include "zelta/app/outline_import/pdftk_data_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<zelta::app::OutlineNode> nodes;
  std::string error;
  if (!zelta::app::ReadPdftkData(text, &nodes, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (nodes.size() != zelta::app::CountPdftkBookmarks(text)) std::abort();
  for (const zelta::app::OutlineNode& node : nodes)
    for (const zelta::app::NodeAction& action : node.actions)
      if (action.destination && action.destination->page >= 0 &&
          action.givenPage != int64_t{action.destination->page} + 1)
        std::abort();
  fuzzing::CheckImport(std::move(nodes));
  return 0;
}
