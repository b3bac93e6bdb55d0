// The plug-in's persisted settings: the "PluginRoot" dictionary the host keeps for it, with
// the last used options of every operation and the preset lists of the two preset tools.
#pragma once

#include <string>
#include <string_view>

#include "host/cab.h"
#include "host/settings.h"

namespace bm {

class PluginObject;

// ResetSettings flags: 0x1 keeps everything but the preset lists, 0x2 keeps the preset lists.
inline constexpr uint32_t kResetOnlyPresets = 0x1;
inline constexpr uint32_t kResetAllButPresets = 0x2;

// The host's settings node for the plug-in; null without a host or node.
zelta::ComPtr<zelta::IHostSettings> SettingsNode(const PluginObject& plugin);

// The node's root dictionary ("PluginRoot"); null when there is none.
zelta::ComPtr<zelta::ICabItem> SettingsRoot(const PluginObject& plugin);

// Shapes the node by the template root "PluginRoot": missing items get their defaults, stored
// values stay. S_FALSE without a host or node.
zelta::HRESULT LoadSettings(const PluginObject& plugin);

// Restores stored items to their template defaults: flags 0 all, 1 only the preset lists,
// 2 all but the preset lists, 3 nothing.
zelta::HRESULT ResetSettings(const PluginObject& plugin, uint32_t flags);

// The dotted settings path of a preset list ("AGBPresets" or "ToTOCPresets") for the host's
// preset control: PluginsData.<plug-in GUID in upper case>.<list>.
std::u16string PresetListPath(std::u16string_view listName);

}  // namespace bm
