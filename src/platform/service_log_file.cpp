#include "platform/service_log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cerrno>
#include <cstring>

#include "core/proof/record_line.h"
#include "platform/checked_file.h"
#include "platform/line_append.h"
#include "platform/private_files.h"

namespace vk930 {

namespace {

// The line as the core writes it, with the digest of the file it names.
std::string LineOf(const ServiceRecord& record) {
    return RecordLineText(record, FileSha256);
}

}  // namespace

QString IsoTime(std::chrono::system_clock::time_point time) {
    return QString::fromStdString(LocalIsoTime(time));
}

std::string FileSha256(const std::string& path) {
    return RegularFileSha256(path, kMaxRecordedFileSize);
}

QJsonObject RecordToJson(const ServiceRecord& record) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(LineOf(record))).object();
}

Status ServiceLogFile::Append(const ServiceRecord& record) {
    return AppendLine(QByteArray::fromStdString(LineOf(record)));
}

Status ServiceLogFile::AppendLine(const QByteArray& json) {
    if (Status folder = MakePrivateFolder(
            QFileInfo(QString::fromStdString(path_)).absolutePath().toStdString());
        !folder)
        return folder;
    OpenedFile opened = OpenRegularFile(path_, O_RDWR | O_APPEND | O_CREAT);
    if (!opened.file.IsOpen()) return Error{opened.error};
    // The lock keeps writers of other programs, and of systems whose appends are not atomic,
    // from splitting a record; one write keeps the record whole.
    while (::flock(opened.file.Fd(), LOCK_EX) != 0)
        if (errno != EINTR) return Error{FileErrorText(path_)};
    return AppendWholeLine(opened.file.Fd(), json, path_);
}

Result<FoundRecords> ServiceLogFile::Find(const RecordQuery& query) const {
    ServiceLogText log = ReadServiceLogText(path_);
    if (!log.error.empty()) return Error{"cannot read the service log " + log.error};
    return FindRecordLines(std::string_view(log.text.constData(), log.text.size()), query);
}

ServiceLogText ReadServiceLogText(const std::string& path) {
    ServiceLogText log;
    OpenedFile opened = OpenRegularFile(path, O_RDONLY);
    if (!opened.file.IsOpen()) {
        log.missing = opened.missing;
        if (!opened.missing) log.error = opened.error;
        return log;
    }
    // A shared lock: no record is read while it is being appended.
    ::flock(opened.file.Fd(), LOCK_SH);
    Result<QByteArray> all = ReadAtMost(opened.file.Fd(), kMaxServiceLogSize, path);
    if (!all)
        log.error = all.error();
    else
        log.text = std::move(*all);
    return log;
}

ServiceLogContents ReadServiceLog(const std::string& path) {
    const ServiceLogText log = ReadServiceLogText(path);
    ServiceLogContents contents;
    if (log.missing || !log.error.empty()) {
        contents.missing = log.missing;
        contents.error = log.error;
        return contents;
    }
    return ParseServiceLog(log.text);
}

ServiceLogContents ParseServiceLog(const QByteArray& all) {
    ServiceLogContents contents;
    for (const QByteArray& line : all.split('\n')) {
        if (line.trimmed().isEmpty()) continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            ++contents.skipped;
            continue;
        }
        const QJsonObject object = document.object();
        if (object.contains("journal") || object.contains("reservedId"))
            contents.journal.push_back(object);
        if (!object.contains("journal")) contents.records.push_back(object);
    }
    return contents;
}

}  // namespace vk930
