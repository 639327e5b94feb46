#pragma once
// Where the utility keeps what it records: $XDG_STATE_HOME/VK930Config (default
// ~/.local/state/VK930Config), with the service log and the backups folder in it.
#include <string>

namespace vk930 {

std::string StateFolder();
std::string ServiceLogPath(const std::string& stateFolder);  // service-log.jsonl
std::string BackupFolder(const std::string& stateFolder);    // backups

}  // namespace vk930
