#pragma once
// The service log as a JSON Lines file: one object per record, appended by any number of
// processes at once. Each record is one write on a descriptor opened for appending, under an
// exclusive advisory lock, so records never interleave; readers skip and count lines that are
// not a record.
#include <QJsonObject>
#include <QString>
#include <string>
#include <vector>

#include "core/proof/record_line.h"
#include "core/proof/service_record.h"
#include "core/registry/terminal_registry.h"

namespace vk930 {

// ISO 8601 with milliseconds and the UTC offset: 2026-12-07T15:31:51.123+01:00.
QString IsoTime(std::chrono::system_clock::time_point time);

// The record as a JSON object (the fields of docs/json.md). `sha256` is filled from the file
// when the record names one and gives no digest.
QJsonObject RecordToJson(const ServiceRecord& record);

// The SHA-256 of a file in lower-case hex; empty when it cannot be read, or is no regular file
// of at most kMaxRecordedFileSize (nothing of a device or a pipe is read).
std::string FileSha256(const std::string& path);

class ServiceLogFile : public ServiceLogSink, public RecordSource {
  public:
    explicit ServiceLogFile(std::string path) : path_(std::move(path)) {}
    // Creates the folder when missing; the reason of a failure names the file.
    Status Append(const ServiceRecord& record) override;
    // Appends one prepared JSON line (no line end); the same single locked write.
    Status AppendLine(const QByteArray& line);
    std::string Path() const override { return path_; }
    // The matching records in file order; a log not written yet holds none.
    Result<FoundRecords> Find(const RecordQuery& query) const override;

  private:
    std::string path_;
};

struct ServiceLogContents {
    std::vector<QJsonObject> records;  // in file order
    // The lines the journal of IDs reads: its own entries and the records naming a reserved
    // ID, in file order. Journal entries are not records.
    std::vector<QJsonObject> journal;
    int skipped = 0;       // lines that are no JSON object
    bool missing = false;  // there is no log yet
    std::string error;     // the log exists but cannot be read
};
// The log's bytes, read under a shared lock.
struct ServiceLogText {
    QByteArray text;
    bool missing = false;  // there is no log yet
    std::string error;     // the log exists but cannot be read
};
ServiceLogText ReadServiceLogText(const std::string& path);
// A regular file of at most kMaxServiceLogSize; a pipe or a device is an error, never waited on.
ServiceLogContents ReadServiceLog(const std::string& path);
// The records of a log's text (the reading above without the file).
ServiceLogContents ParseServiceLog(const QByteArray& text);

inline constexpr qint64 kMaxServiceLogSize = static_cast<qint64>(kMaxServiceLogBytes);
inline constexpr qint64 kMaxRecordedFileSize = static_cast<qint64>(kMaxRecordedFileBytes);

}  // namespace vk930
