#pragma once
// The user's state folder of this program, $XDG_STATE_HOME/VK930Config (by default
// ~/.local/state/VK930Config): backups and the service log live there.
#include <string>

namespace vk930 {

std::string StateFolder();

}  // namespace vk930
