// The layouts of the host's own editors (HostEditors), in the layout format of the modules'
// dialogs, so that every front-end renders them as it renders any dialog.
#pragma once

#include <string_view>

namespace zelta::ui {

// A `dialogs` document with the layouts "HostFontParams" and "HostActions".
std::string_view EditorLayouts();

}  // namespace zelta::ui
