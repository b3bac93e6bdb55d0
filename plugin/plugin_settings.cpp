#include "plugin/plugin_settings.h"

#include "framework/cab_access.h"
#include "plugin/plugin_object.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr const char16_t* kPluginRoot = u"PluginRoot";

char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

// Whether a settings item is a preset list: its name contains "presets" in any case.
bool IsPresetList(std::u16string_view name) {
  constexpr std::u16string_view kWord = u"presets";
  if (name.size() < kWord.size()) return false;
  for (size_t start = 0; start + kWord.size() <= name.size(); ++start) {
    size_t i = 0;
    while (i < kWord.size() && LowerAscii(name[start + i]) == kWord[i]) ++i;
    if (i == kWord.size()) return true;
  }
  return false;
}

void AppendHex(std::u16string& out, uint64_t value, int digits) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out.push_back(kHex[(value >> shift) & 0xF]);
}

}  // namespace

ComPtr<zelta::IHostSettings> SettingsNode(const PluginObject& plugin) {
  ComPtr<zelta::IHostSettings> node;
  zelta::IHostApp* app = plugin.AttachedApp();
  if (!app) return nullptr;
  // The host keys the node by the plug-in object.
  auto* key = static_cast<zelta::IUnknown*>(
      static_cast<zelta::IPlugin*>(const_cast<PluginObject*>(&plugin)));
  if (zelta::Failed(app->GetPluginSettings(key, -1, node.Put()))) return nullptr;
  return node;
}

ComPtr<zelta::ICabItem> SettingsRoot(const PluginObject& plugin) {
  ComPtr<zelta::ICabItem> root;
  if (auto node = SettingsNode(plugin)) node->GetRoot(root.Put());
  return root;
}

HRESULT LoadSettings(const PluginObject& plugin) {
  auto node = SettingsNode(plugin);
  if (!node) return zelta::S_FALSE;
  std::u16string_view text = plugin.TemplateText();
  return node->AttachTemplate(text.data(), static_cast<int32_t>(text.size()), kPluginRoot);
}

HRESULT ResetSettings(const PluginObject& plugin, uint32_t flags) {
  if ((flags & kResetOnlyPresets) && (flags & kResetAllButPresets)) return zelta::S_OK;
  ComPtr<zelta::ICabItem> stored = SettingsRoot(plugin);
  ComPtr<zelta::ICab> fresh = plugin.CreateCab(kPluginRoot);
  ComPtr<zelta::ICabItem> defaults = CabRoot(fresh.Get());
  if (!stored || !defaults) return zelta::S_OK;
  int32_t count = 0;
  stored->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    zelta::OwnedString name;
    if (zelta::Failed(stored->GetNameAt(i, name.Put())) || name.Empty()) continue;
    const bool presets = IsPresetList(name.View());
    if (presets ? (flags & kResetAllButPresets) : (flags & kResetOnlyPresets)) continue;
    ComPtr<zelta::ICabItem> defaultItem = CabItem(defaults.Get(), name.Data());
    ComPtr<zelta::ICabItem> storedItem;
    if (!defaultItem || stored->GetItemAt(i, storedItem.Put()) != zelta::S_OK || !storedItem)
      continue;
    storedItem->CopyFrom(defaultItem.Get());
  }
  return zelta::S_OK;
}

std::u16string PresetListPath(std::u16string_view listName) {
  const zelta::Guid& id = PluginObject::kPluginId;
  std::u16string path = u"PluginsData.";
  AppendHex(path, id.data1, 8);
  path.push_back(u'-');
  AppendHex(path, id.data2, 4);
  path.push_back(u'-');
  AppendHex(path, id.data3, 4);
  path.push_back(u'-');
  for (int i = 0; i < 8; ++i) {
    if (i == 2) path.push_back(u'-');
    AppendHex(path, id.data4[i], 2);
  }
  path.push_back(u'.');
  path.append(listName);
  return path;
}

}  // namespace bm
