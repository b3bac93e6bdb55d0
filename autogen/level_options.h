// Reading and writing AGBLevel dictionaries of the options, and the whole generation options
// (levels, flags, stop words) as a run takes them.
#pragma once

#include <string>
#include <vector>

#include "autogen/level_node.h"
#include "framework/color_text.h"
#include "host/cab.h"

namespace bm {

// An AGBLevel dictionary as level options; missing fields keep their defaults. Colour text is
// read by the host's colour service (HostColors): text that names no colour is E_INVALIDARG,
// and *error names the field and the text.
zelta::HRESULT ReadLevel(zelta::ICabItem* level, zelta::IColorService* colors,
                         LevelOptions* options, std::u16string* error);
// Writes level options into an AGBLevel dictionary.
zelta::HRESULT WriteLevel(zelta::ICabItem* level, const LevelOptions& options);

struct GenerationOptions {
  std::vector<LevelOptions> levels;
  int32_t flags = 0;
  std::vector<std::u16string> stopWords;
  int32_t stopWordsFlags = 0;
};

// The generation options of an AGBOperationOptions (or AGBOptions) dictionary, without the
// page range.
zelta::HRESULT ReadGenerationOptions(zelta::ICabItem* options, zelta::IColorService* colors,
                                     GenerationOptions* out, std::u16string* error);

}  // namespace bm
