#include "core/proof/state_folder.h"

#include <cstdlib>

namespace vk930 {

std::string StateFolder() {
    // An empty or relative value is to be ignored, as for every XDG folder.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/VK930Config";
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : ".") + "/.local/state/VK930Config";
}

std::string ServiceLogPath(const std::string& stateFolder) {
    return stateFolder + "/service-log.jsonl";
}

std::string BackupFolder(const std::string& stateFolder) {
    return stateFolder + "/backups";
}

}  // namespace vk930
