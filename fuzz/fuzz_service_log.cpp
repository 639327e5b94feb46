// The service-log reader behind `history` on any bytes: it never crashes, every non-blank line
// is a record or counted as skipped, and every record matches or fails a query without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/service_log_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vk930::ServiceLogContents log = vk930::ParseServiceLog(text);
    qsizetype lines = 0;
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty()) ++lines;
    if (static_cast<qsizetype>(log.records.size()) + log.skipped != lines) std::abort();
    vk930::RecordQuery query;
    query.commId = 7;
    query.since = std::chrono::system_clock::time_point{};
    for (const QJsonObject& record : log.records) (void)vk930::RecordMatches(record, query);
    return 0;
}
