// The service-log readers behind `history` and "Service history..." on any bytes: they never
// crash, every non-blank line is a record, a journal line or counted as skipped, the reader without
// Qt finds no more than there are lines, each record it finds is a JSON object, and every record
// matches or fails a query without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/json_value.h"
#include "core/proof/record_line.h"
#include "platform/service_log_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vk930::ServiceLogContents log = vk930::ParseServiceLog(text);
    qsizetype lines = 0;
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty()) ++lines;
    // A journal line of IDs is neither a record nor skipped.
    qsizetype journalLines = 0;
    for (const QJsonObject& entry : log.journal)
        if (entry.contains("journal")) ++journalLines;
    if (static_cast<qsizetype>(log.records.size()) + journalLines + log.skipped != lines)
        std::abort();

    vk930::RecordQuery query;
    query.commId = 7;
    query.since = std::chrono::system_clock::time_point{};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vk930::FoundRecords found = vk930::FindRecordLines(bytes, query);
    const vk930::FoundRecords all = vk930::FindRecordLines(bytes, {});
    const auto segments = static_cast<std::size_t>(text.count('\n')) + 1;
    if (all.json.size() + static_cast<std::size_t>(all.unreadable) > segments) std::abort();
    if (found.json.size() > all.json.size() || found.unreadable != all.unreadable) std::abort();
    for (const std::string& json : all.json) {
        const std::optional<vk930::JsonValue> record = vk930::ParseJson(json);
        if (!record || record->kind != vk930::JsonValue::Kind::kObject) std::abort();
        (void)vk930::HistoryRecordOf(json);
    }
    return 0;
}
