// Whole-line appends.
#include "platform/line_append.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vk930 {

namespace {

Error Why(const std::string& path) {
    return Error{FileErrorText(path)};
}

// Whether the file ends without a line end; false for an empty file.
Result<bool> EndsInsideLine(int fd, const std::string& path) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return Why(path);
    if (status.st_size == 0) return false;
    char last = '\n';
    ssize_t got = -1;
    do got = ::pread(fd, &last, 1, status.st_size - 1);
    while (got < 0 && errno == EINTR);
    if (got < 0) return Why(path);
    return got == 1 && last != '\n';
}

}  // namespace

std::string FileErrorText(const std::string& path) {
    return "'" + path + "': " + std::strerror(errno);
}

Status AppendWholeLine(int fd, const QByteArray& line, const std::string& path) {
    Result<bool> torn = EndsInsideLine(fd, path);
    if (!torn) return Error{torn.error()};
    const QByteArray bytes = (*torn ? QByteArray("\n") : QByteArray()) + line + '\n';
    ssize_t written = -1;
    do written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    while (written < 0 && errno == EINTR);
    if (written < 0) return Why(path);
    if (written != bytes.size())
        return Error{"'" + path + "': the disk took only part of a record"};
    // On disk before the command is reported: a record is the proof of what was done.
    if (::fdatasync(fd) != 0) return Why(path);
    return {};
}

}  // namespace vk930
