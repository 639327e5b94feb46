#pragma once
// Menu 128 and accelerator table 128 on Windows, built from the core's menu data.
#include <windows.h>

#include <optional>
#include <vector>

#include "core/forms/menu_template.h"

namespace vk930 {

// The main menu with its pop-ups; the caller owns it (a frame destroys its menu with itself).
HMENU BuildMainMenu(const std::vector<MenuPopup>& popups = MainMenuTemplate());

// One accelerator in Win32 terms: virtual key and FVIRTKEY with its modifiers; nullopt for a
// key text this table does not know.
std::optional<ACCEL> ToWin32Accelerator(const Accelerator& accelerator);

// The accelerator table; the caller destroys it. Keys that cannot be read are left out.
HACCEL BuildAccelerators(const std::vector<Accelerator>& table = MainAccelerators());

// Sets the check marks of the COM port items: on the item of `port` (1 to 8), off on the
// others; a port outside 1 to 8 checks none.
void CheckComPort(HMENU menu, int port);

}  // namespace vk930
