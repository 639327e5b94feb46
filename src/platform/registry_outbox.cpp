// The outbox file of a shared registry.
#include "platform/registry_outbox.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/service_log_file.h"

namespace vk930 {

namespace {

struct LockedFile {
    int fd = -1;
    ~LockedFile() {
        if (fd >= 0) ::close(fd);  // releases the lock
    }
};

std::string Why(const std::string& path) {
    return "'" + path + "': " + std::strerror(errno);
}

std::vector<QByteArray> Lines(const QByteArray& all) {
    std::vector<QByteArray> lines;
    for (const QByteArray& line : all.split('\n'))
        if (!line.trimmed().isEmpty()) lines.push_back(line);
    return lines;
}

}  // namespace

Status RegistryOutbox::Add(const QByteArray& line) {
    // The service log's locked single write keeps a line whole among other writers.
    return ServiceLogFile(path_).AppendLine(line);
}

Status RegistryOutbox::SendWaiting(const Sender& send) {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) return errno == ENOENT ? Status{} : Error{Why(path_)};
    if (info.st_size == 0) return {};
    LockedFile file{::open(path_.c_str(), O_RDWR | O_CLOEXEC)};
    if (file.fd < 0) return errno == ENOENT ? Status{} : Error{Why(path_)};
    while (::flock(file.fd, LOCK_EX) != 0)
        if (errno != EINTR) return Error{Why(path_)};
    QFile reader;
    if (!reader.open(file.fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return Error{"'" + path_ + "': " + reader.errorString().toStdString()};
    const std::vector<QByteArray> lines = Lines(reader.readAll());
    reader.close();
    if (lines.empty()) return {};
    if (Status sent = send(lines); !sent) return sent;
    if (::ftruncate(file.fd, 0) != 0 || ::fsync(file.fd) != 0) return Error{Why(path_)};
    return {};
}

long long RegistryOutbox::Count() const {
    QFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    ::flock(file.handle(), LOCK_SH);
    const long long count = static_cast<long long>(Lines(file.readAll()).size());
    ::flock(file.handle(), LOCK_UN);
    return count;
}

}  // namespace vk930
