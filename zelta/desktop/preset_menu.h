// The menu of the host's preset button: the presets to take, and saving the dialog's options
// as a new preset, renaming and deleting one. What the user picks goes through the driver,
// which keeps the list in the settings.
#pragma once

#include <QWidget>

#include "zelta/ui/dialog_driver.h"

namespace zelta::desktop {

// Opens the menu under `button` and does what the user picks.
void RunPresetMenu(ui::DialogDriver& user, QWidget* button);

}  // namespace zelta::desktop
