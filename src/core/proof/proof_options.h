#pragma once
// The checks around a Set and where their files go, as the settings and the command line set
// them.
#include <functional>
#include <optional>
#include <string>

namespace vk930 {

struct ProofOptions {
    bool backupBeforeSet = true;        // BackupBeforeSet (default 1)
    bool verifyAfterSet = false;        // VerifyAfterSet (default 0), or set --verify
    std::optional<int> expectedCommId;  // a restore: the CommID its backup was taken of
    // Set by a restore refused for the terminal's CommID: the CommID found, so that a front end
    // can ask whether to restore onto that terminal all the same.
    std::optional<int> refusedCommId;
    std::string stateFolder;          // backups and the service log (state_folder.h)
    std::function<void()> verifying;  // told when the read-back starts; unset: nobody
};

}  // namespace vk930
