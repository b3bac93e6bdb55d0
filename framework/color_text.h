// Colour text as options hold it, and the packed 0xAARRGGBB values the host works with:
// "N" (none), "rgbd(r,g,b)" 0-255, "rgb(r,g,b)" 0-1, "Gray(g)" 0-1, "cmyk(c,m,y,k)" 0-1,
// "#RGB", "#RRGGBB", "#AARRGGBB" and the CSS colour names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bm {

struct ParsedColor {
  uint32_t packed = 0xFF000000u;
  bool none = false;  // the text was "N"
};

// The colour a text names; nothing for text that is none of the forms (names and function
// names are case-insensitive, blanks around parts are allowed, components are clamped).
std::optional<ParsedColor> ParseColorText(std::u16string_view text);

// "rgbd(r,g,b)" for an opaque colour, "#AARRGGBB" otherwise.
std::u16string ColorText(uint32_t packed);

// The packed value of a CSS colour name (lower case); nothing for an unknown name.
std::optional<uint32_t> CssColor(std::string_view name);

}  // namespace bm
