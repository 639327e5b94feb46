#pragma once
// Opening a file of the state folder, or one the user named, for reading: only a regular file
// (a pipe would wait for a writer, a device would never end), and reading no more than a bound.
#include <QByteArray>
#include <QCryptographicHash>
#include <string>

#include "core/base/result.h"

namespace vk930 {

// A descriptor that closes itself, and so releases any lock taken on it.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();

  private:
    int fd_ = -1;
};

// What opening gave: the descriptor, or why not; `missing` when there is no such file.
struct OpenedFile {
    FileDescriptor file;
    bool missing = false;
    std::string error;  // names the file; empty when open
};

// Opens `path` with `flags` (O_RDONLY, O_RDWR, O_WRONLY | O_APPEND | O_CREAT, ...; a file it
// creates is 0600), without waiting on a pipe, and refuses what is not a regular file.
OpenedFile OpenRegularFile(const std::string& path, int flags);

// The bytes of `fd` from where it stands, at most `maxBytes`; an error names `path` and says
// when the file holds more.
Result<QByteArray> ReadAtMost(int fd, qint64 maxBytes, const std::string& path);

// The SHA-256 of a regular file of at most `maxBytes` in lower-case hex; empty when it is no
// regular file, is larger, or cannot be read.
std::string RegularFileSha256(const std::string& path, qint64 maxBytes);

}  // namespace vk930
