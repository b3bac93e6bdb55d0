#include "framework/color_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "framework/host_strings.h"

namespace bm {

namespace {

std::string Lower(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c > 0x7E) return {};  // no colour text goes beyond ASCII
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c));
  }
  return out;
}

std::string Trim(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t i = 0;
  while (i < text.size() && blank(text[i])) ++i;
  return text.substr(i);
}

// The numbers of "name(a,b,...)"; nothing unless the text has that form with count numbers.
std::optional<std::vector<double>> Arguments(const std::string& text, std::string_view name,
                                             size_t count) {
  if (text.size() < name.size() + 2 || text.compare(0, name.size(), name) != 0 ||
      text.back() != ')')
    return std::nullopt;
  std::string inner = Trim(text.substr(name.size()));
  if (inner.empty() || inner.front() != '(') return std::nullopt;
  inner = inner.substr(1, inner.size() - 2);
  std::vector<double> values;
  size_t start = 0;
  while (start <= inner.size()) {
    size_t comma = inner.find(',', start);
    if (comma == std::string::npos) comma = inner.size();
    const std::string part = Trim(inner.substr(start, comma - start));
    char* end = nullptr;
    const double value = part.empty() ? NAN : std::strtod(part.c_str(), &end);
    if (part.empty() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    values.push_back(value);
    start = comma + 1;
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

uint32_t Channel(double value, double scale) {
  return static_cast<uint32_t>(std::lround(std::clamp(value * scale, 0.0, 255.0)));
}

uint32_t Pack(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

std::optional<uint32_t> Hex(const std::string& digits) {
  for (char c : digits)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
  const auto value = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
  switch (digits.size()) {
    case 3: {
      const uint32_t r = (value >> 8) & 0xF, g = (value >> 4) & 0xF, b = value & 0xF;
      return Pack(r * 17, g * 17, b * 17);
    }
    case 6:
      return 0xFF000000u | value;
    case 8:
      return value;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<ParsedColor> ParseColorText(std::u16string_view text) {
  const std::string lower = Trim(Lower(text));
  if (lower.empty()) return std::nullopt;
  ParsedColor color;
  if (lower == "n") {
    color.none = true;
    color.packed = 0;
    return color;
  }
  if (lower[0] == '#') {
    auto value = Hex(lower.substr(1));
    if (!value) return std::nullopt;
    color.packed = *value;
    return color;
  }
  if (auto v = Arguments(lower, "rgbd", 3)) {
    color.packed = Pack(Channel((*v)[0], 1), Channel((*v)[1], 1), Channel((*v)[2], 1));
    return color;
  }
  if (auto v = Arguments(lower, "rgb", 3)) {
    color.packed = Pack(Channel((*v)[0], 255), Channel((*v)[1], 255), Channel((*v)[2], 255));
    return color;
  }
  if (auto v = Arguments(lower, "gray", 1)) {
    const uint32_t g = Channel((*v)[0], 255);
    color.packed = Pack(g, g, g);
    return color;
  }
  if (auto v = Arguments(lower, "cmyk", 4)) {
    const auto part = [&](double c) {
      return Channel((1 - std::clamp(c, 0.0, 1.0)) * (1 - std::clamp((*v)[3], 0.0, 1.0)), 255);
    };
    color.packed = Pack(part((*v)[0]), part((*v)[1]), part((*v)[2]));
    return color;
  }
  if (auto value = CssColor(lower)) {
    color.packed = *value;
    return color;
  }
  return std::nullopt;
}

std::u16string ColorText(uint32_t packed) {
  if ((packed >> 24) == 0xFF) {
    return u"rgbd(" + NumberText((packed >> 16) & 0xFF) + u"," + NumberText((packed >> 8) & 0xFF) +
           u"," + NumberText(packed & 0xFF) + u")";
  }
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text = u"#";
  for (int shift = 28; shift >= 0; shift -= 4) text.push_back(kDigits[(packed >> shift) & 0xF]);
  return text;
}

}  // namespace bm
