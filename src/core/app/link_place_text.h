#pragma once
// The texts of the link control's place on the main form: what a COM port reaches and, while
// a command runs, how far it has got. Every window shows these same texts; the COM port
// menu's tool tips, vk930ctl's port listing and the Devices dialog take the reach from here.
#include <chrono>
#include <cstddef>
#include <string>

namespace vk930 {

// What a link spec reaches, without asking the system whether a device is there.
struct SpecReach {
    enum class Kind { kDevice, kSim, kNone, kBad };
    Kind kind = Kind::kNone;
    std::string devicePath;  // kDevice: the device's path
    std::string problem;     // kBad: why the spec does not parse
};
SpecReach ReachOfSpec(const std::string& spec);

// "COM1: /dev/ttyUSB0, 19200 8N1", "COM1: simulated terminal", "COM1: nothing configured",
// "COM2: sim?bogus (the fault)" for a spec that does not parse, and "No COM port chosen" for a
// port number outside COM1 to COM8 (a settings key that could not be read gives port 0).
std::string PortReachText(int port, const std::string& spec);

// A firmware upload: "Firmware: 1024/65536 bytes, 0:31 left"; the time is measured from the
// first report, when the image starts to go out.
std::string UploadProgressText(std::size_t sent, std::size_t total,
                               std::chrono::milliseconds sinceFirstReport);
// A Set run: "Set: 12 lines applied".
std::string LinesProgressText(std::size_t applied);
// A wait for the terminal: "Terminal restarting: 3 s", whole seconds rounded up, so that the
// count shows 0 only when the wait is over.
std::string CountdownText(std::chrono::milliseconds left);
// How often a window redraws the countdown.
inline constexpr std::chrono::milliseconds kCountdownTick{100};

}  // namespace vk930
