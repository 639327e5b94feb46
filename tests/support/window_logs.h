#pragma once
// What the operation log holds after each command started from a window, the same for the Qt
// window's tests and the Win32 window's: one list of (text, icon kind) per command, so both
// windows are held to the same entries.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "support/fake_host.h"

namespace vk930::test::logs {

// Read Device Info on a terminal that answers, on COM`port`.
inline std::vector<LogEntry> Identified(int port = 1) {
    return {{"Open COM" + std::to_string(port), 2},
            {"Searching VK930 device..", 2},
            {"Reading Info OK", 2},
            {"Reading eeprom Page:0...", 2},
            {"Reading info...", 2},
            {"Done", 1}};
}

// Read Device Info with no terminal on COM`port`.
inline std::vector<LogEntry> NoTerminal(int port = 1) {
    return {{"Open COM" + std::to_string(port), 2},
            {"Searching VK930 device..", 2},
            {"Connection Failure", 0},
            {"Cannot Read Info from COM" + std::to_string(port), 0}};
}

// The last entry of a completed Get or Set.
inline const LogEntry kCommandDone{"DONE Succesfully!", 1};
// The last entry of an identification (Read Device Info, and after a CommID write).
inline const LogEntry kIdentifyDone{"Done", 1};
// A CommID written, before the terminal restarts.
inline const LogEntry kCommIdWritten{"commID written successful. Resetting...", 2};

// The firmware dialog confirmed: the port opened for the boot loader.
inline const LogEntry kUploadStarted{"Uploading...", 2};
// The end of a successful upload, in order.
inline std::vector<LogEntry> UploadDone() {
    return {{"UPLOADING DONE", 1},
            {"REMOVE BOOT CABLE FROM DEVICE", 2},
            {"REMOVE BATTERIES AND PUT THEM BACK AGAIN", 2}};
}
// The firmware dialog cancelled: the one entry.
inline std::vector<LogEntry> UploadCancelled() {
    return {{"Operation canceled by the user!", 0}};
}

// The last `count` entries of `log` (all of them when it holds fewer).
inline std::vector<LogEntry> Last(const std::vector<LogEntry>& log, std::size_t count) {
    return {log.end() - static_cast<std::ptrdiff_t>(std::min(count, log.size())), log.end()};
}

}  // namespace vk930::test::logs
