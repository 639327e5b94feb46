#pragma once
// Folders of private data (records, backups of a terminal's pages): each folder created here
// is for its owner alone (0700), whatever the umask.
#include <string>

#include "core/base/result.h"

namespace vk930 {

// Creates `folder` and its missing parents, each for the owner alone; an existing folder is
// left as it is. An error names the folder that could not be created.
Status MakePrivateFolder(const std::string& folder);

// Makes an existing file readable and writable by its owner alone (0600); an error names it.
Status MakePrivateFile(const std::string& path);

}  // namespace vk930
