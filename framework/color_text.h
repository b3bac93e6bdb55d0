// Colour text as options hold it, and the packed 0xAARRGGBB values the host works with. The
// host's colour service reads the text (its forms are in host/color.h); the module adds the
// "no colour" that "N" means in options, and the text it stores a colour as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/app.h"
#include "host/color.h"

namespace bm {

struct ParsedColor {
  uint32_t packed = 0xFF000000u;
  bool none = false;  // the text was "N"
};

// The host's colour service; null without a host or when it has none.
zelta::ComPtr<zelta::IColorService> HostColors(zelta::IHostApp* app);

// The colour a text names, as the host's colour service reads it; nothing for text of no
// colour form, and nothing without a service.
std::optional<ParsedColor> ParseColorText(zelta::IColorService* colors, std::u16string_view text);

// "rgbd(r,g,b)" for an opaque colour, "#AARRGGBB" otherwise.
std::u16string ColorText(uint32_t packed);

}  // namespace bm
