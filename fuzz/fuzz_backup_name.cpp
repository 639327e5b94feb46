// Backup file names on any text: parsing never crashes, and a name it accepts gives a port
// and a CommID a terminal can have.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/proof/backup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    const std::optional<vk930::BackupName> parsed = vk930::ParseBackupName(name);
    if (!parsed) return 0;
    if (parsed->port < 0 || parsed->port > 9 || parsed->commId < 0 || parsed->commId > 65535 ||
        parsed->stamp.size() != 15)
        std::abort();
    return 0;
}
