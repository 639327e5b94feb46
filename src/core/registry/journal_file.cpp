// The journal of IDs in a file of JSON lines.
#include "core/registry/journal_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/base/disk_sync.h"
#include "core/base/private_folder.h"
#include "core/registry/journal_line.h"

namespace vk930 {

namespace {

std::string Cannot(const std::string& doing, const std::string& path) {
    return "cannot " + doing + " '" + path + "': " + std::strerror(errno);
}

// Whether the file ends inside a line (a crash in mid-write): the next entry then starts a
// line of its own instead of being glued to the torn one.
bool EndsInsideALine(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file);
    if (size <= 0 || std::fseek(file, size - 1, SEEK_SET) != 0) return false;
    const int last = std::fgetc(file);
    std::fseek(file, 0, SEEK_END);
    return last != '\n';
}

}  // namespace

Result<std::vector<JournalEntry>> JournalFile::Load() {
    std::vector<JournalEntry> entries;
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return entries;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return Error{Cannot("read", path_)};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::optional<JournalEntry> entry = ParseJournalLine(line)) entries.push_back(*entry);
    }
    if (in.bad()) return Error{Cannot("read", path_)};
    return entries;
}

Status JournalFile::Add(JournalEntry entry) {
    if (entry.holder.empty() && entry.state == IdState::kReserved) entry.holder = holder_;
    const std::filesystem::path path(path_);
    if (path.has_parent_path())
        if (Status made = MakePrivateFolder(path.parent_path().string()); !made) return made;
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    std::FILE* file = std::fopen(path_.c_str(), "a+b");
    if (!file) return Error{Cannot("open", path_)};
    if (!existed) MakePrivateFile(path_);
    std::string line = JournalLineText(entry, std::chrono::system_clock::now()) + "\n";
    if (EndsInsideALine(file)) line.insert(line.begin(), '\n');
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    const bool synced = written && SyncToDisk(file);
    const std::string why = synced ? std::string() : Cannot("write", path_);
    if (std::fclose(file) != 0 && synced) return Error{Cannot("write", path_)};
    if (!synced) return Error{why};
    return {};
}

bool JournalFile::HolderGone(const std::string& holder) const {
    return holderGone_ && holderGone_(holder);
}

Status JournalFile::Append(const ServiceRecord& record) {
    (void)record;
    return Error{"this program keeps no service records, only the journal of IDs " + path_};
}

}  // namespace vk930
