#pragma once
// What a COM port reaches, as the link control's place and the COM port menu show it:
// "COM1: /dev/ttyUSB0, 19200 8N1", "COM1: simulated terminal", "COM1: nothing configured".
#include <QString>
#include <optional>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930 {

// The text for a link spec (a bad one is named with its fault).
QString PortReachText(int port, const std::string& spec);
// The same for what the port reaches with the command line's --link and the settings.
QString PortReachText(int port, const std::optional<std::string>& linkOverride,
                      SettingsBackendFactory& settings);

}  // namespace vk930
