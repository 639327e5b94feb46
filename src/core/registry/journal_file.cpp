// The bench's journal of IDs and service records in a file of JSON lines.
#include "core/registry/journal_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "core/base/bounded_file.h"
#include "core/base/disk_sync.h"
#include "core/base/private_folder.h"
#include "core/proof/record_line.h"
#include "core/registry/journal_line.h"

namespace vk930 {

namespace {

std::string Cannot(const std::string& doing, const std::string& path) {
    return "cannot " + doing + " '" + path + "': " + std::strerror(errno);
}

// Whether the file ends inside a line (a crash in mid-write): the next line then starts a
// line of its own instead of being glued to the torn one.
bool EndsInsideALine(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file);
    if (size <= 0 || std::fseek(file, size - 1, SEEK_SET) != 0) return false;
    const int last = std::fgetc(file);
    std::fseek(file, 0, SEEK_END);
    return last != '\n';
}

// Holds the file's lock for one read or write.
class HeldLock {
  public:
    explicit HeldLock(StoreLock& lock) : lock_(lock), taken_(lock.Acquire()) {}
    ~HeldLock() {
        if (taken_) lock_.Release();
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    const Status& Taken() const { return taken_; }

  private:
    StoreLock& lock_;
    Status taken_;
};

}  // namespace

Result<std::string> JournalFile::ReadAll() const {
    HeldLock held(lock_);
    if (!held.Taken()) return Error{"cannot lock '" + path_ + "': " + held.Taken().error()};
    BoundedFile read = ReadBoundedFile(path_, kMaxServiceLogBytes);
    if (read.problem == FileReadProblem::kMissing) return std::string();
    if (read.problem != FileReadProblem::kNone)
        return Error{"'" + path_ + "': " + Describe(read, kMaxServiceLogBytes)};
    return std::move(read.bytes);
}

Result<std::vector<JournalEntry>> JournalFile::Load() {
    Result<std::string> all = ReadAll();
    if (!all) return Error{all.error()};
    std::vector<JournalEntry> entries;
    std::istringstream in(*all);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::optional<JournalEntry> entry = ParseJournalLine(line)) entries.push_back(*entry);
    }
    return entries;
}

Status JournalFile::Add(JournalEntry entry) {
    if (entry.holder.empty() && entry.state == IdState::kReserved) entry.holder = holder_;
    return AppendLine(JournalLineText(entry, std::chrono::system_clock::now()));
}

Status JournalFile::Append(const ServiceRecord& record) {
    return AppendLine(RecordLineText(record, RecordedFileSha256));
}

Status JournalFile::AppendLine(std::string line) {
    const std::filesystem::path path(path_);
    if (path.has_parent_path())
        if (Status made = MakePrivateFolder(path.parent_path().string()); !made) return made;
    // Writers of other programs and threads buffer and write in pieces of their own size: only
    // the lock keeps their lines from interleaving.
    HeldLock held(lock_);
    if (!held.Taken()) return Error{"cannot lock '" + path_ + "': " + held.Taken().error()};
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    std::FILE* file = std::fopen(path_.c_str(), "a+b");
    if (!file) return Error{Cannot("open", path_)};
    if (!existed) MakePrivateFile(path_);
    line += '\n';
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

Result<FoundRecords> JournalFile::Find(const RecordQuery& query) const {
    Result<std::string> all = ReadAll();
    if (!all) return Error{"cannot read the service log " + all.error()};
    return FindRecordLines(*all, query);
}

}  // namespace vk930
