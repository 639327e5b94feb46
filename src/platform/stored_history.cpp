// Stored service records as the history shows them.
#include "platform/stored_history.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vk930 {

namespace {

std::optional<int> OptionalInt(const QJsonObject& object, const char* name) {
    const QJsonValue value = object.value(name);
    if (!value.isDouble()) return std::nullopt;
    return value.toInt();
}

std::string Text(const QJsonObject& object, const char* name) {
    return object.value(name).toString().toStdString();
}

}  // namespace

HistoryRecord HistoryRecordOf(const QJsonObject& record) {
    HistoryRecord r;
    r.time = Text(record, "time");
    r.program = Text(record, "program");
    r.command = Text(record, "command");
    r.port = record.value("port").toInt();
    r.reach = Text(record, "reach");
    const QJsonObject terminal = record.value("terminal").toObject();
    r.commIdBefore = OptionalInt(terminal, "commIdBefore");
    r.commIdAfter = OptionalInt(terminal, "commIdAfter");
    r.file = Text(record, "file");
    r.backup = Text(record, "backup");
    r.outcome = Text(record, "outcome");
    r.detail = Text(record, "detail");
    r.warnings = record.value("warnings").toInt();
    r.durationMs = record.value("durationMs").toInteger();
    // A command that succeeded marked only its warnings with icon 0.
    if (r.outcome == "success")
        for (const QJsonValue& entry : record.value("entries").toArray())
            if (entry.toObject().value("kind").toInt(-1) == 0)
                r.warningTexts.push_back(Text(entry.toObject(), "text"));
    return r;
}

Result<std::vector<HistoryRecord>> StoredHistory::Find(const RecordQuery& query) {
    Result<FoundRecords> found = find_(query);
    if (!found) return Error{found.error()};
    std::vector<HistoryRecord> records;
    for (const std::string& json : found->json)
        records.push_back(
            HistoryRecordOf(QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()));
    return records;
}

}  // namespace vk930
