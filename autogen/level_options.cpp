#include "autogen/level_options.h"

#include "framework/cab_access.h"
#include "framework/color_text.h"
#include "framework/host_strings.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::ICabItem;

namespace {

HRESULT ReadColor(ICabItem* dictionary, const char16_t* field, zelta::IColorService* colors,
                  uint32_t* packed, bool* none, std::u16string* error) {
  const std::u16string text = CabText(dictionary, field, u"rgbd(0,0,0)");
  auto color = ParseColorText(colors, text);
  if (!color) {
    if (error) *error = std::u16string(field) + u": not a colour: \"" + text + u"\"";
    return zelta::E_INVALIDARG;
  }
  *packed = color->packed;
  if (none) *none = color->none;
  return zelta::S_OK;
}

HRESULT SetText(ICabItem* dictionary, const char16_t* field, const std::u16string& text) {
  return dictionary->SetText(field, text.c_str(), static_cast<int32_t>(text.size()));
}

}  // namespace

HRESULT ReadLevel(ICabItem* level, zelta::IColorService* colors, LevelOptions* options,
                  std::u16string* error) {
  if (!level || !options) return zelta::E_POINTER;
  if (!colors) {
    if (error) *error = u"no colour service to read the colours with";
    return zelta::E_POINTER;
  }
  LevelOptions o;
  o.index = CabInt(level, u"Index", 0);
  o.flags = CabInt(level, u"Flags", 0);

  ComPtr<ICabItem> description = CabItem(level, u"LevelDescription");
  LevelDescription& d = o.description;
  d.fontNames = CabStrings(CabItem(description.Get(), u"FontNames").Get());
  d.fontSize = CabDouble(description.Get(), u"FontSize", 12.0);
  d.fontTolerance = CabDouble(description.Get(), u"FontTolerance", 0.2);
  d.matchTextCase = CabInt(description.Get(), u"MatchTextCase", 0);
  d.textPattern = CabText(description.Get(), u"TextPattern", u"");
  HRESULT hr = ReadColor(description.Get(), u"Color", colors, &d.color, nullptr, error);
  if (zelta::Failed(hr)) return hr;

  ComPtr<ICabItem> appearance = CabItem(level, u"Appearance");
  LevelAppearance& a = o.appearance;
  bool none = false;
  hr = ReadColor(appearance.Get(), u"Color", colors, &a.color, &none, error);
  if (zelta::Failed(hr)) return hr;
  a.hasColor = !none;
  a.style = CabInt(appearance.Get(), u"Style", 0);
  a.destType = CabInt(appearance.Get(), u"DestType", 0);
  a.destFlags = static_cast<uint32_t>(CabInt(appearance.Get(), u"DestFlags", 12));
  a.expand = CabBool(appearance.Get(), u"Expand", false);

  ComPtr<ICabItem> formatting = CabItem(level, u"Formatting");
  TitleFormat& f = o.format;
  f.textCase = CabInt(formatting.Get(), u"TextCase", 0);
  f.prefix = CabText(formatting.Get(), u"Prefix", u"");
  f.suffix = CabText(formatting.Get(), u"Suffix", u"");
  f.searchPattern = CabText(formatting.Get(), u"SearchPattern", u"");
  f.replacePattern = CabText(formatting.Get(), u"ReplacePattern", u"");
  f.leadingNum = CabInt(formatting.Get(), u"LeadingNum", 0);
  f.numType = CabInt(formatting.Get(), u"NumType", 0);
  f.titleLength = CabInt(formatting.Get(), u"TitleLength", 256);
  f.flags = CabInt(formatting.Get(), u"Flags", 0);
  *options = std::move(o);
  return zelta::S_OK;
}

HRESULT WriteLevel(ICabItem* level, const LevelOptions& o) {
  if (!level) return zelta::E_POINTER;
  level->SetInt(u"Index", o.index);
  level->SetInt(u"Flags", o.flags);
  ComPtr<ICabItem> description = CabItem(level, u"LevelDescription");
  if (description) {
    SetCabStrings(CabItem(description.Get(), u"FontNames").Get(), o.description.fontNames);
    description->SetDouble(u"FontSize", o.description.fontSize);
    description->SetDouble(u"FontTolerance", o.description.fontTolerance);
    SetText(description.Get(), u"Color", ColorText(o.description.color));
    description->SetInt(u"MatchTextCase", o.description.matchTextCase);
    SetText(description.Get(), u"TextPattern", o.description.textPattern);
  }
  ComPtr<ICabItem> appearance = CabItem(level, u"Appearance");
  if (appearance) {
    SetText(appearance.Get(), u"Color",
            o.appearance.hasColor ? ColorText(o.appearance.color) : u"N");
    appearance->SetInt(u"Style", o.appearance.style);
    appearance->SetInt(u"DestType", o.appearance.destType);
    appearance->SetInt(u"DestFlags", static_cast<int32_t>(o.appearance.destFlags));
    appearance->SetBool(u"Expand", o.appearance.expand);
  }
  ComPtr<ICabItem> formatting = CabItem(level, u"Formatting");
  if (formatting) {
    const TitleFormat& f = o.format;
    formatting->SetInt(u"TextCase", f.textCase);
    SetText(formatting.Get(), u"Prefix", f.prefix);
    SetText(formatting.Get(), u"Suffix", f.suffix);
    SetText(formatting.Get(), u"SearchPattern", f.searchPattern);
    SetText(formatting.Get(), u"ReplacePattern", f.replacePattern);
    formatting->SetInt(u"LeadingNum", f.leadingNum);
    formatting->SetInt(u"NumType", f.numType);
    formatting->SetInt(u"TitleLength", f.titleLength);
    formatting->SetInt(u"Flags", f.flags);
  }
  return zelta::S_OK;
}

HRESULT ReadGenerationOptions(ICabItem* options, zelta::IColorService* colors,
                              GenerationOptions* out, std::u16string* error) {
  if (!options || !out) return zelta::E_POINTER;
  GenerationOptions result;
  ComPtr<ICabItem> levels = CabItem(options, u"Levels");
  int32_t count = 0;
  if (levels) levels->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> level;
    if (levels->GetItemAt(i, level.Put()) != zelta::S_OK || !level) continue;
    LevelOptions o;
    std::u16string why;
    HRESULT hr = ReadLevel(level.Get(), colors, &o, &why);
    if (zelta::Failed(hr)) {
      if (error) *error = u"Levels[" + NumberText(static_cast<uint32_t>(i)) + u"]: " + why;
      return hr;
    }
    result.levels.push_back(std::move(o));
  }
  result.flags = CabInt(options, u"Flags", 0);
  ComPtr<ICabItem> stop = CabItem(options, u"StopWordsData");
  result.stopWords = CabStrings(CabItem(stop.Get(), u"StopWords").Get());
  result.stopWordsFlags = CabInt(stop.Get(), u"StopWordsFlags", 0);
  *out = std::move(result);
  return zelta::S_OK;
}

}  // namespace bm
