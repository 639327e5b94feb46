#pragma once
// What the files of a numbered terminal say: the counter a settings file keeps and the CommID a
// simulated terminal's state file carries.
#include <string>

namespace vk930::test {

// The settings file's "commID"; -1 when it has none.
int StoredCommId(const std::string& settingsPath);
// The CommID in a simulated terminal's state file (its pages as the simulator keeps them);
// `whenNone` when the file holds no pages yet.
int CarriedId(const std::string& stateFile, int whenNone);

}  // namespace vk930::test
