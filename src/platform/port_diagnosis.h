#pragma once
// Why a serial device will not open, in a technician's words: the process that holds it, the
// group a user must join, or the device path meant by a bare name. Nothing here opens the
// device, so asking never disturbs a terminal on the line.
#include <optional>
#include <string>
#include <vector>

namespace vk930 {

struct PortHolder {
    int pid = 0;
    std::string name;  // the process's command name; empty when it cannot be read
};

// The folders serial-port lock files (LCK..NAME) are looked for in, as Qt and the UUCP
// tools write them.
std::vector<std::string> LockFileFolders();

// The process, other than this one, that has the device open (from /proc) or holds its lock
// file; nullopt when none is found.
std::optional<PortHolder> FindPortHolder(const std::string& devicePath);

// What keeps this user from opening the device for reading and writing: its group (and the
// usermod fix), or its owner when the group may not write; nullopt when nothing does, or
// when the device does not exist.
std::optional<std::string> PermissionProblem(const std::string& devicePath);

// The device path a bare name stands for on Linux: "ttyUSB0" gives "/dev/ttyUSB0", "COM3"
// gives "/dev/ttyS2"; nullopt when the text is a path already or no such name.
std::optional<std::string> SuggestDevicePath(const std::string& text);

// The reason a device would not open: the holder, the permission problem, else the serial
// driver's own words.
std::string ExplainOpenFailure(const std::string& devicePath, const std::string& driverReason);

// "process 1234 (minicom)"
std::string DescribeHolder(const PortHolder& holder);

}  // namespace vk930
