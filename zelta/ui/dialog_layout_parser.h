// Reads dialog layouts from a layout resource (`dialogs` document, one `dialog` per layout).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "zelta/ui/dialog_layout.h"

namespace zelta::ui {

// The layout of one dialog. nullopt when the resource does not parse, is not a `dialogs`
// document, has no dialog of that id, or the dialog is malformed (an unknown control kind, a
// missing or negative size, a number that does not parse, two controls with one id);
// *error (may be null) then says which and where.
std::optional<DialogLayout> ParseDialogLayout(std::span<const uint8_t> resource,
                                              std::u16string_view dialogId, std::string* error);

// The ids of every dialog in the resource, in document order (empty when it does not parse).
std::vector<std::u16string> DialogLayoutIds(std::span<const uint8_t> resource);

}  // namespace zelta::ui
