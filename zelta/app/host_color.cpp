#include "zelta/app/host_color.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace zelta::app {

namespace {

struct NamedColor {
  std::string_view name;
  uint32_t rgb;
};

// The CSS colour names, sorted for the binary search.
constexpr NamedColor kCssColors[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};

std::optional<uint32_t> NamedColorValue(std::string_view name) {
  auto at = std::lower_bound(
      std::begin(kCssColors), std::end(kCssColors), name,
      [](const NamedColor& entry, std::string_view key) { return entry.name < key; });
  if (at == std::end(kCssColors) || at->name != name) return std::nullopt;
  return 0xFF000000u | at->rgb;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// Lower-case ASCII; nothing for text beyond ASCII, which no colour form holds.
std::optional<std::string> LowerAscii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c > 0x7E) return std::nullopt;
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + ('a' - 'A') : c));
  }
  return out;
}

// The count numbers of "name(a, b, ...)"; nothing for any other text.
std::optional<std::vector<double>> Arguments(std::string_view text, std::string_view name,
                                             size_t count) {
  if (!text.starts_with(name)) return std::nullopt;
  std::string inner = Trim(text.substr(name.size()));
  if (inner.size() < 2 || inner.front() != '(' || inner.back() != ')') return std::nullopt;
  inner = inner.substr(1, inner.size() - 2);
  std::vector<double> values;
  size_t start = 0;
  while (start <= inner.size()) {
    size_t comma = inner.find(',', start);
    if (comma == std::string::npos) comma = inner.size();
    const std::string part = Trim(std::string_view(inner).substr(start, comma - start));
    // A decimal number, read alike in every locale; a sign of either kind.
    std::string_view number(part);
    const bool plus = number.starts_with('+');
    if (plus) number.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || (plus && number.starts_with('-')) || ec != std::errc() ||
        end != number.data() + number.size() || !std::isfinite(value))
      return std::nullopt;
    values.push_back(value);
    start = comma + 1;
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

uint32_t Channel(double value, double scale) {
  return static_cast<uint32_t>(std::lround(std::clamp(value * scale, 0.0, 255.0)));
}

uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

std::optional<uint32_t> Hex(std::string_view digits) {
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  switch (digits.size()) {
    case 3:
      return Opaque(((value >> 8) & 0xF) * 17, ((value >> 4) & 0xF) * 17, (value & 0xF) * 17);
    case 6:
      return 0xFF000000u | value;
    case 8:
      return value;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<uint32_t> ParseHostColor(std::u16string_view text) {
  const auto lower = LowerAscii(text);
  if (!lower) return std::nullopt;
  const std::string color = Trim(*lower);
  if (color == "n") return 0u;
  if (color.starts_with('#')) return Hex(std::string_view(color).substr(1));
  if (auto v = Arguments(color, "rgbd", 3))
    return Opaque(Channel((*v)[0], 1), Channel((*v)[1], 1), Channel((*v)[2], 1));
  if (auto v = Arguments(color, "rgb", 3))
    return Opaque(Channel((*v)[0], 255), Channel((*v)[1], 255), Channel((*v)[2], 255));
  if (auto v = Arguments(color, "gray", 1)) {
    const uint32_t g = Channel((*v)[0], 255);
    return Opaque(g, g, g);
  }
  if (auto v = Arguments(color, "cmyk", 4)) {
    const double k = 1 - std::clamp((*v)[3], 0.0, 1.0);
    const auto part = [&](double c) { return Channel((1 - std::clamp(c, 0.0, 1.0)) * k, 255); };
    return Opaque(part((*v)[0]), part((*v)[1]), part((*v)[2]));
  }
  return NamedColorValue(color);
}

HRESULT HostColor::Parse(const char16_t* text, int32_t length) {
  if (!text && length > 0) return E_POINTER;
  const auto packed =
      ParseHostColor(std::u16string_view(text ? text : u"", std::max<int32_t>(length, 0)));
  if (!packed) return E_INVALIDARG;
  packed_ = *packed;
  return S_OK;
}

HRESULT HostColor::GetPacked(uint32_t* packed) {
  if (!packed) return E_POINTER;
  *packed = packed_;
  return S_OK;
}

HRESULT HostColor::SetPacked(uint32_t packed) {
  packed_ = packed;
  return S_OK;
}

}  // namespace zelta::app
