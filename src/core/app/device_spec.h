#pragma once
// What each COM port reaches: the settings' Device1 to Device8 (a device path or a sim spec),
// or one spec for every port when the command line gives one. Both windows and vk930ctl ask
// here, so a port reaches the same thing whichever program opens it.
#include <optional>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930 {

// The device a port reaches when the settings say nothing: /dev/ttyS0.. or \\.\COM1..
std::string DefaultDeviceFor(int port);

// The link spec of a port: the override, else the settings' value, else the default device.
std::string DeviceSpecFor(int port, const std::optional<std::string>& override,
                          SettingsBackendFactory& settings);

// The link control's place and the COM port menu's text for COM`port` (PortReachText of
// core/app on the spec the settings and the override give).
std::string PortReachText(int port, const std::optional<std::string>& override,
                          SettingsBackendFactory& settings);

}  // namespace vk930
