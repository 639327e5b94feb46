#pragma once
// The serial device a COM port number stands for when the settings name none.
#include <string>

namespace vk930 {

// The COM ports the program offers: COM1 to COM8.
inline constexpr int kPortCount = 8;

// True for a COM port number the program offers.
constexpr bool IsComPort(int port) {
    return port >= 1 && port <= kPortCount;
}

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
