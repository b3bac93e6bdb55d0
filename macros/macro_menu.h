// The "Mac" button's pop-up menu: the title macros a tool offers, in groups, with the
// environment variables in a submenu. Choosing an entry gives the text to insert.
#pragma once

#include <optional>
#include <string>

#include "host/app.h"
#include "host/dialogs.h"
#include "platform/environment.h"

namespace bm {

// Shows the menu of the macros in mask next to anchor and gives "%[Name]" (or "%[Env:NAME]")
// for the chosen entry; nullopt when nothing was chosen.
std::optional<std::u16string> ChooseMacro(
    zelta::IHostDialog* dialog, zelta::IDialogControl* anchor, zelta::IHostApp* app, uint32_t mask,
    const platform::EnvironmentSources& environment = platform::DefaultEnvironmentSources());

}  // namespace bm
