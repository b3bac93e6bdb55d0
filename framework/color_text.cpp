#include "framework/color_text.h"

#include <limits>

#include "framework/host_strings.h"
#include "framework/plugin_context.h"

namespace bm {

namespace {

// "N" with the blanks the host allows around colour text.
bool IsNoColor(std::u16string_view text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text == u"N" || text == u"n";
}

}  // namespace

zelta::ComPtr<zelta::IColorService> HostColors(zelta::IHostApp* app) {
  return GetHostComponent<zelta::IColorService>(app, "AUX");
}

std::optional<ParsedColor> ParseColorText(zelta::IColorService* colors, std::u16string_view text) {
  zelta::ComPtr<zelta::IHostColor> color;
  if (!colors || text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
      zelta::Failed(colors->CreateColor(color.Put())) || !color)
    return std::nullopt;
  ParsedColor parsed;
  if (color->Parse(text.data(), static_cast<int32_t>(text.size())) != zelta::S_OK ||
      color->GetPacked(&parsed.packed) != zelta::S_OK)
    return std::nullopt;
  parsed.none = IsNoColor(text);
  return parsed;
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
