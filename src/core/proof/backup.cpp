#include "core/proof/backup.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <regex>

#include "core/base/private_folder.h"
#include "core/params/parameter_file.h"
#include "core/params/replacing_file.h"

namespace vk930 {

namespace fs = std::filesystem;

namespace {
// Enough that no run of Sets within one second is ever refused for want of a name.
constexpr int kMaxSequence = 10000;
}  // namespace

std::string BackupFileName(std::chrono::system_clock::time_point time, int port, int commId,
                           int sequence) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    // The commands run on one thread: the shared result of localtime is safe here.
    const std::tm* local = std::localtime(&t);
    char stamp[32] = "00000000-000000";
    if (local) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
    std::string name =
        std::string(stamp) + "-COM" + std::to_string(port) + "-id" + std::to_string(commId);
    if (sequence > 1) name += "-" + std::to_string(sequence);
    return name + ".pcg";
}

std::string StampTime(const std::string& stamp, char between) {
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + between +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

std::optional<BackupName> ParseBackupName(const std::string& fileName) {
    static const std::regex kPattern(R"(^(\d{8}-\d{6})-COM(\d)-id(\d{1,5})(-\d+)?\.pcg$)");
    std::smatch m;
    if (!std::regex_match(fileName, m, kPattern)) return std::nullopt;
    const int commId = std::stoi(m[3].str());
    if (commId > 65535) return std::nullopt;
    return BackupName{m[1].str(), std::stoi(m[2].str()), commId};
}

int CommIdOfPages(PageSource& pages) {
    return pages.GetByte(0, 1) * 256 + pages.GetByte(0, 2);
}

Result<std::string> WriteBackup(const std::string& folder, PageSource& pages, int port,
                                std::chrono::system_clock::time_point time) {
    // Backups hold the terminal's pages, its password among them: the owner's alone.
    if (Status made = MakePrivateFolder(folder); !made) return Error{made.error()};
    std::error_code ec;
    const int commId = CommIdOfPages(pages);
    std::string path;
    for (int sequence = 1; sequence <= kMaxSequence && path.empty(); ++sequence) {
        const std::string candidate =
            (fs::path(folder) / BackupFileName(time, port, commId, sequence)).string();
        if (!fs::exists(candidate, ec)) path = candidate;
    }
    if (path.empty()) return Error{"no free backup name in '" + folder + "'"};
    ReplacingFile file;
    if (Status opened = file.Open(path); !opened) return Error{opened.error()};
    if (Status narrowed = file.MakePrivate(); !narrowed) return Error{narrowed.error()};
    const LineSink sink = [&file](const std::string& line) { return file.Write(line); };
    if (!WriteRawForm(pages, sink)) return Error{"cannot write '" + path + "'"};
    if (Status committed = file.Commit(); !committed) return Error{committed.error()};
    return path;
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
    std::vector<BackupEntry> backups;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (auto name = ParseBackupName(entry.path().filename().string()))
            backups.push_back({entry.path().string(), *name});
    }
    std::sort(backups.begin(), backups.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return a.path < b.path; });
    return backups;
}

}  // namespace vk930
