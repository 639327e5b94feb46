// Private folders and files of the state folder.
#include "platform/private_files.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/proof/state_folder.h"

namespace vk930 {

namespace fs = std::filesystem;

bool TightenToOwner(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) == 0) return false;
    return ::chmod(path.c_str(), status.st_mode & 07700 & ~mode_t{S_ISUID | S_ISGID}) == 0;
}

namespace {

void TightenFolderAndFiles(const fs::path& folder, std::vector<std::string>& changed) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    if (TightenToOwner(folder.string())) changed.push_back(folder.string());
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && TightenToOwner(entry.path().string()))
            changed.push_back(entry.path().string());
}

}  // namespace

std::vector<std::string> TightenStateFolder(const std::string& stateFolder) {
    std::vector<std::string> changed;
    TightenFolderAndFiles(stateFolder, changed);
    TightenFolderAndFiles(BackupFolder(stateFolder), changed);
    return changed;
}

std::string TightenedNotice(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    std::string text = "other users of this PC could read ";
    text += paths.size() == 1 ? "'" + paths.front() + "'"
                              : std::to_string(paths.size()) +
                                    " files and folders of the state "
                                    "folder";
    return text + ": made private (only your account reads them now)";
}

}  // namespace vk930
