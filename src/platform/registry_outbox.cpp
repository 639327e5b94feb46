// The outbox file of a shared registry.
#include "platform/registry_outbox.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>
#include <set>

#include "platform/checked_file.h"
#include "platform/line_append.h"
#include "platform/private_files.h"
#include "platform/service_log_file.h"

namespace vk930 {

namespace {

// The outbox open and locked. A rewrite replaces the file by another (renamed over it), so a
// lock taken on a file that is no longer the outbox is given up and taken on the new one.
class LockedFile {
  public:
    ~LockedFile() {
        if (fd_ >= 0) ::close(fd_);  // releases the lock
    }
    // False with `why` set on failure. Opened without O_CREAT, a missing file sets no `why`:
    // `Missing()` says so, and nothing waits in it.
    bool Open(const std::string& path, int flags, int lock, std::string& why) {
        for (;;) {
            OpenedFile opened = OpenRegularFile(path, flags);
            if (!opened.file.IsOpen()) {
                missing_ = opened.missing && !(flags & O_CREAT);
                if (!missing_) why = opened.error;
                return false;
            }
            fd_ = opened.file.Release();
            int locked;
            do locked = ::flock(fd_, lock);
            while (locked != 0 && errno == EINTR);
            if (locked != 0) {
                why = FileErrorText(path);
                return false;
            }
            struct stat held {
            }, named{};
            if (::fstat(fd_, &held) != 0) {
                why = FileErrorText(path);
                return false;
            }
            if (::stat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
                named.st_dev == held.st_dev)
                return true;
            ::close(fd_);
            fd_ = -1;
        }
    }
    bool Missing() const { return missing_; }
    int Fd() const { return fd_; }

  private:
    int fd_ = -1;
    bool missing_ = false;
};

// Records wait for days at most; an outbox larger than this is none of ours.
constexpr qint64 kMaxOutboxSize = qint64{1} << 30;

std::vector<QByteArray> Lines(const QByteArray& all) {
    std::vector<QByteArray> lines;
    for (const QByteArray& line : all.split('\n'))
        if (!line.trimmed().isEmpty()) lines.push_back(line);
    return lines;
}

// The lines of an open file, read from its start.
Result<std::vector<QByteArray>> ReadLines(int fd, const std::string& path) {
    if (::lseek(fd, 0, SEEK_SET) < 0) return Error{FileErrorText(path)};
    Result<QByteArray> all = ReadAtMost(fd, kMaxOutboxSize, path);
    if (!all) return Error{all.error()};
    return Lines(*all);
}

Status WriteAll(int fd, const QByteArray& bytes, const std::string& path) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Error{FileErrorText(path)};
        done += written;
    }
    return {};
}

QString UuidOf(const QByteArray& line) {
    return QJsonDocument::fromJson(line).object().value("uuid").toString();
}

long long CountLines(const std::string& path) {
    LockedFile file;
    std::string why;
    if (!file.Open(path, O_RDONLY, LOCK_SH, why)) return 0;
    Result<std::vector<QByteArray>> lines = ReadLines(file.Fd(), path);
    return lines ? static_cast<long long>(lines->size()) : 0;
}

}  // namespace

RegistryOutbox::RegistryOutbox(std::string path) : path_(std::move(path)) {
    const std::string suffix = ".jsonl";
    const bool named = path_.size() > suffix.size() &&
                       path_.compare(path_.size() - suffix.size(), suffix.size(), suffix) == 0;
    refusedPath_ =
        (named ? path_.substr(0, path_.size() - suffix.size()) : path_) + "-refused" + suffix;
}

Status RegistryOutbox::Add(const QByteArray& line) {
    if (Status folder = MakePrivateFolder(
            QFileInfo(QString::fromStdString(path_)).absolutePath().toStdString());
        !folder)
        return folder;
    LockedFile file;
    std::string why;
    if (!file.Open(path_, O_RDWR | O_APPEND | O_CREAT, LOCK_EX, why)) return Error{why};
    // On disk, like the service log: a record lost here would never reach the registry.
    return AppendWholeLine(file.Fd(), line, path_);
}

Status RegistryOutbox::SendWaiting(const Sender& send) {
    std::vector<QByteArray> lines;
    {
        LockedFile file;
        std::string why;
        if (!file.Open(path_, O_RDONLY, LOCK_SH, why))
            return file.Missing() ? Status{} : Error{why};
        Result<std::vector<QByteArray>> read = ReadLines(file.Fd(), path_);
        if (!read) return Error{read.error()};
        lines = std::move(*read);
    }
    if (lines.empty()) return {};
    // Unlocked: other processes add records, or send the same ones, while these travel.
    Result<Refusals> refused = send(lines);
    if (!refused) return Error{refused.error()};

    // Refused records are kept before they leave the outbox: a crash in between keeps them
    // twice at worst, never loses one.
    if (!refused->empty()) {
        std::set<QString> known;
        {
            LockedFile kept;
            std::string why;
            if (kept.Open(refusedPath_, O_RDONLY, LOCK_SH, why)) {
                Result<std::vector<QByteArray>> old = ReadLines(kept.Fd(), refusedPath_);
                if (old)
                    for (const QByteArray& line : *old) known.insert(UuidOf(line));
            }
        }
        ServiceLogFile refusedLog(refusedPath_);
        for (const Refusal& refusal : *refused) {
            if (refusal.line >= lines.size()) continue;
            QJsonObject entry = QJsonDocument::fromJson(lines[refusal.line]).object();
            if (known.count(entry.value("uuid").toString())) continue;
            entry.insert("refused", QString::fromStdString(refusal.reason));
            if (Status kept =
                    refusedLog.AppendLine(QJsonDocument(entry).toJson(QJsonDocument::Compact));
                !kept)
                return kept;
        }
    }

    LockedFile file;
    std::string why;
    if (!file.Open(path_, O_RDWR, LOCK_EX, why)) return file.Missing() ? Status{} : Error{why};
    Result<std::vector<QByteArray>> now = ReadLines(file.Fd(), path_);
    if (!now) return Error{now.error()};
    const std::set<QByteArray> sent(lines.begin(), lines.end());
    QByteArray rest;
    for (const QByteArray& line : *now)
        if (!sent.count(line)) rest += line + '\n';
    if (rest.isEmpty()) {
        if (::ftruncate(file.Fd(), 0) != 0 || ::fsync(file.Fd()) != 0)
            return Error{FileErrorText(path_)};
        return {};
    }
    // Records added while these were sent: the rest goes to a new file renamed over the
    // outbox, so a crash leaves either the old outbox or the new one, both whole.
    const std::string fresh = path_ + ".new";
    {
        const int out =
            ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kPrivateFileMode);
        if (out < 0) return Error{FileErrorText(fresh)};
        Status written = WriteAll(out, rest, fresh);
        if (written && ::fsync(out) != 0) written = Error{FileErrorText(fresh)};
        ::close(out);
        if (!written) return written;
    }
    if (::rename(fresh.c_str(), path_.c_str()) != 0) return Error{FileErrorText(path_)};
    return {};
}

long long RegistryOutbox::Count() const {
    return CountLines(path_);
}

long long RegistryOutbox::RefusedCount() const {
    return CountLines(refusedPath_);
}

}  // namespace vk930
