#pragma once
// The serial device a COM port number stands for when the settings name none.
#include <string>

namespace vk930 {

enum class DeviceNaming { kWindows, kLinux };

// The naming of the system this program is built for.
inline constexpr DeviceNaming kHostDeviceNaming =
#ifdef _WIN32
    DeviceNaming::kWindows;
#else
    DeviceNaming::kLinux;
#endif

// Windows: "\\.\COMn", the device namespace, since CreateFile opens "COM10" and above only
// by that name (and every COM port by it). Linux: /dev/ttyS(n-1), COM1 being ttyS0.
std::string DefaultComDevice(int port, DeviceNaming naming);

}  // namespace vk930
