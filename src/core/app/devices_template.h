#pragma once
// The Devices dialog as a template, for a window that renders templates (the Win32 one): a
// row per COM port, its label and a drop-down list of the port's choices, the --link note
// when there is one, then OK and Cancel. In dialog units of the other dialogs' font.
#include "core/app/devices_choice.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

DialogTemplate DevicesDialogTemplate(const DevicesChoice& choice);

}  // namespace vk930
