#include "platform/settings_file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vk930 {

namespace {

std::int64_t ModifiedNs(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// QSettings takes a file as unchanged while its size and time of change (to the millisecond)
// are: two reservations within one millisecond would let another process read a stale ID.
// So every write under the lock moves the time of change on by at least a millisecond.
void MarkChanged(const std::string& path, std::int64_t before) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::int64_t ns = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    if (ns < before + 1000000) ns = before + 1000000;
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(ns / 1000000000), ns % 1000000000}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void FlushToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Status SettingsFileLock::Acquire() {
    if (fd_ >= 0) return {};
    // Not ".lock": QSettings itself takes that name for the lock file of its writes.
    const std::string lockPath = settingsPath_ + ".counter-lock";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(lockPath).parent_path(), ec);
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Error{lockPath + ": " + std::strerror(errno)};
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        return Error{lockPath + ": " + std::strerror(error)};
    }
    fd_ = fd;
    modifiedBefore_ = ModifiedNs(settingsPath_);
    return {};
}

void SettingsFileLock::Release() {
    if (fd_ < 0) return;
    if (ModifiedNs(settingsPath_) != modifiedBefore_) MarkChanged(settingsPath_, modifiedBefore_);
    FlushToDisk(settingsPath_);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vk930
