#include "zelta/app/host_color.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace zelta::app {

namespace {

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
    double value = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() ||
        !std::isfinite(value))
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
  return std::nullopt;
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
