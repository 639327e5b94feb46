#pragma once
// One window per settings file: a second start with a file hands the file to the window that
// already runs on the same settings file and ends; a second start without a file, or one that
// finds no window to take its file, opens a window of its own (which then does not take over
// the first one's channel). Windows on different settings files stay apart. The channel
// itself (a local socket, a named pipe) is the front end's.
#include <string>

namespace vk930 {

// The name of the channel of the window on this settings file: "vk930config-" and 12 hex
// digits of a hash of the path, the same in every process and on every build.
std::string InstanceName(const std::string& settingsPath);

// Whether a start should first offer its file to a running window: only when it has a file.
inline bool OffersFileToRunningWindow(const std::string& file) {
    return !file.empty();
}

}  // namespace vk930
