#pragma once
// The serial devices present, with the stable /dev/serial/by-id/ names udev gives USB
// adapters: a by-id name stays the same when the adapter is plugged into another socket.
#include <map>
#include <string>
#include <vector>

namespace vk930 {

inline constexpr char kSerialByIdDir[] = "/dev/serial/by-id";

struct SerialDevice {
    std::string path;         // /dev/ttyUSB0
    std::string byId;         // /dev/serial/by-id/usb-...; empty when udev gave none
    std::string description;  // the driver's or the USB product's name; may be empty
    std::string usbIds;       // "0403:6001"; empty when not a USB device
};

// The device each by-id link in `dir` points at (its canonical path) and the link's path.
// An unreadable or missing folder gives an empty map.
std::map<std::string, std::string> ByIdNames(const std::string& dir = kSerialByIdDir);

// The by-id name of a device path (itself a link or not), or empty when it has none.
std::string ByIdNameOf(const std::string& path, const std::map<std::string, std::string>& byId);

// The serial devices the system lists, ordered by path.
std::vector<SerialDevice> SerialDevicesPresent();

}  // namespace vk930
