#pragma once
// The state folder holds records, backups of the terminal's pages and its password: only the
// technician's account reads it. Folders are 0700 and files 0600 whatever the umask, and what
// an older version left open is tightened on first use.
#include <sys/types.h>

#include <string>
#include <vector>

#include "core/base/private_folder.h"

namespace vk930 {

inline constexpr mode_t kPrivateFolderMode = 0700;
inline constexpr mode_t kPrivateFileMode = 0600;

// Takes away every permission of the group and of others from `path` (followed when it is a
// link), when it has any; whether it did.
bool TightenToOwner(const std::string& path);

// Tightens the state folder, the files in it and its backups folder with its files; the paths
// it changed, so that the caller says so (once: afterwards there is nothing to change).
std::vector<std::string> TightenStateFolder(const std::string& stateFolder);

// The notice a caller gives for what TightenStateFolder changed; empty when nothing.
std::string TightenedNotice(const std::vector<std::string>& paths);

}  // namespace vk930
