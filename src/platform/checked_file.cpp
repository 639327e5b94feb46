// Checked opening and bounded reading of files.
#include "platform/checked_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vk930 {

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

OpenedFile OpenRegularFile(const std::string& path, int flags) {
    OpenedFile opened;
    int fd = -1;
    do fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        opened.missing = errno == ENOENT;
        opened.error = "'" + path + "': " + std::strerror(errno);
        return opened;
    }
    opened.file = FileDescriptor(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        opened.error = "'" + path + "': " + std::strerror(errno);
        opened.file = FileDescriptor();
        return opened;
    }
    if (!S_ISREG(status.st_mode)) {
        opened.error = "'" + path + "': not a regular file";
        opened.file = FileDescriptor();
        return opened;
    }
    // Regular files never wait; the flag is dropped so that a lock taken later may wait.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return opened;
}

Result<QByteArray> ReadAtMost(int fd, qint64 maxBytes, const std::string& path) {
    QByteArray bytes;
    constexpr qint64 kChunk = 1 << 16;
    for (;;) {
        const qint64 before = bytes.size();
        bytes.resize(before + kChunk);
        const ssize_t got = ::read(fd, bytes.data() + before, static_cast<size_t>(kChunk));
        if (got < 0 && errno == EINTR) {
            bytes.resize(before);
            continue;
        }
        if (got < 0) return Error{"'" + path + "': " + std::strerror(errno)};
        bytes.resize(before + got);
        if (bytes.size() > maxBytes)
            return Error{"'" + path + "': larger than " + std::to_string(maxBytes >> 20) +
                         " MiB, more than a file of its kind ever holds"};
        if (got == 0) return bytes;
    }
}

std::string RegularFileSha256(const std::string& path, qint64 maxBytes) {
    OpenedFile opened = OpenRegularFile(path, O_RDONLY);
    if (!opened.file.IsOpen()) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char chunk[1 << 16];
    qint64 total = 0;
    for (;;) {
        const ssize_t got = ::read(opened.file.Fd(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {};
        if (got == 0) break;
        total += got;
        if (total > maxBytes) return {};
        hash.addData(QByteArrayView(chunk, got));
    }
    return hash.result().toHex().toStdString();
}

}  // namespace vk930
