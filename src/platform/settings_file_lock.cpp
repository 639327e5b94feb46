#include "platform/settings_file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vk930 {

namespace {

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
    return {};
}

void SettingsFileLock::Release() {
    if (fd_ < 0) return;
    FlushToDisk(settingsPath_);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vk930
