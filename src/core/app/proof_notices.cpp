// The texts of the backup line and the service log's box.
#include "core/app/proof_notices.h"

#include <filesystem>

namespace vk930 {

std::string BackupLineText(const std::string& path) {
    return "Backup: " + std::filesystem::path(path).filename().string();
}

std::string ServiceLogFailedText(const std::string& reason) {
    return "The service log cannot be written; the commands go on without it.\n" + reason;
}

}  // namespace vk930
