#include "platform/service_log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>
#include <cstring>

#include "platform/checked_file.h"
#include "platform/json_text.h"
#include "platform/line_append.h"
#include "platform/private_files.h"

namespace vk930 {

namespace {

void PutOptional(QJsonObject& object, const char* name, const std::optional<int>& value) {
    if (value) object.insert(name, *value);
}

QJsonObject IdentityToJson(const RecordedIdentity& identity) {
    QJsonObject terminal;
    PutOptional(terminal, "type", identity.deviceType);
    if (identity.version) terminal.insert("version", JsonText(*identity.version));
    PutOptional(terminal, "commIdBefore", identity.commIdBefore);
    PutOptional(terminal, "commIdAfter", identity.commIdAfter);
    PutOptional(terminal, "scanner", identity.scanner);
    PutOptional(terminal, "rfid", identity.rfid);
    PutOptional(terminal, "color", identity.color);
    PutOptional(terminal, "display", identity.display);
    return terminal;
}

}  // namespace

QString IsoTime(std::chrono::system_clock::time_point time) {
    const qint64 ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString("yyyy-MM-ddTHH:mm:ss.zzz") + (offset < 0 ? '-' : '+') +
           QString("%1:%2")
               .arg(minutes / 60, 2, 10, QChar('0'))
               .arg(minutes % 60, 2, 10, QChar('0'));
}

std::string FileSha256(const std::string& path) {
    return RegularFileSha256(path, kMaxRecordedFileSize);
}

QJsonObject RecordToJson(const ServiceRecord& record) {
    QJsonObject object;
    object.insert("time", IsoTime(record.time));
    object.insert("program", JsonText(record.program));
    object.insert("version", JsonText(record.version));
    object.insert("command", JsonText(record.command));
    object.insert("port", record.comPort);
    object.insert("reach", JsonText(record.reach));
    object.insert("terminal", IdentityToJson(record.identity));
    if (!record.file.empty()) {
        object.insert("file", JsonText(record.file));
        const std::string digest = record.sha256.empty() ? FileSha256(record.file) : record.sha256;
        if (!digest.empty()) object.insert("sha256", QString::fromStdString(digest));
    }
    if (!record.backup.empty()) object.insert("backup", JsonText(record.backup));
    object.insert("outcome", ToString(record.outcome));
    object.insert("detail", JsonText(record.detail));
    object.insert("warnings", record.warnings);
    object.insert("durationMs", static_cast<qint64>(record.durationMs));
    QJsonArray entries;
    for (const RecordedEntry& entry : record.entries)
        entries.append(QJsonObject{{"kind", entry.kind}, {"text", JsonText(entry.text)}});
    object.insert("entries", entries);
    if (!record.seriesId.empty()) object.insert("series", JsonText(record.seriesId));
    if (record.withId) object.insert("withId", true);
    if (record.reservedId) {
        const ReservedId& id = *record.reservedId;
        QJsonObject reserved{
            {"commId", id.commId},
            {"state", id.written ? "written" : (id.mayCarry ? "may-carry" : "skipped")}};
        if (!id.written) reserved.insert("reason", JsonText(id.skipReason));
        if (!id.possible.empty()) {
            QJsonArray possible;
            for (int value : id.possible) possible.append(value);
            reserved.insert("possible", possible);
        }
        object.insert("reservedId", reserved);
    }
    return object;
}

Status ServiceLogFile::Append(const ServiceRecord& record) {
    return AppendLine(QJsonDocument(RecordToJson(record)).toJson(QJsonDocument::Compact));
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

bool RecordMatches(const QJsonObject& record, const RecordQuery& query) {
    if (query.commId) {
        const QJsonObject terminal = record.value("terminal").toObject();
        if (terminal.value("commIdBefore").toInt(-1) != *query.commId &&
            terminal.value("commIdAfter").toInt(-1) != *query.commId)
            return false;
    }
    if (query.since) {
        const QDateTime time =
            QDateTime::fromString(record.value("time").toString(), Qt::ISODateWithMs);
        const qint64 since =
            std::chrono::duration_cast<std::chrono::milliseconds>(query.since->time_since_epoch())
                .count();
        if (!time.isValid() || time.toMSecsSinceEpoch() < since) return false;
    }
    return true;
}

Result<FoundRecords> ServiceLogFile::Find(const RecordQuery& query) const {
    const ServiceLogContents log = ReadServiceLog(path_);
    if (!log.error.empty()) return Error{"cannot read the service log " + log.error};
    FoundRecords found;
    found.unreadable = log.skipped;
    for (const QJsonObject& record : log.records)
        if (RecordMatches(record, query))
            found.json.push_back(
                QJsonDocument(record).toJson(QJsonDocument::Compact).toStdString());
    return found;
}

ServiceLogContents ReadServiceLog(const std::string& path) {
    ServiceLogContents contents;
    OpenedFile opened = OpenRegularFile(path, O_RDONLY);
    if (!opened.file.IsOpen()) {
        contents.missing = opened.missing;
        if (!opened.missing) contents.error = opened.error;
        return contents;
    }
    // A shared lock: no record is read while it is being appended.
    ::flock(opened.file.Fd(), LOCK_SH);
    Result<QByteArray> all = ReadAtMost(opened.file.Fd(), kMaxServiceLogSize, path);
    if (!all) {
        contents.error = all.error();
        return contents;
    }
    contents = ParseServiceLog(*all);
    return contents;
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
