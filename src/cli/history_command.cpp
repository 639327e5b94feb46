#include "cli/history_command.h"

#include <QDateTime>
#include <QJsonArray>

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "core/proof/state_folder.h"
#include "platform/service_log_file.h"

namespace vk930 {

namespace {

struct HistoryFilter {
    std::optional<int> commId;
    std::optional<QDateTime> since;
    bool csv = false;
};

std::string Text(const QJsonObject& object, const char* name) {
    const QJsonValue value = object.value(name);
    if (value.isDouble()) return std::to_string(value.toInteger());
    return value.toString().toStdString();
}

std::string CommIds(const QJsonObject& terminal) {
    const std::string before = Text(terminal, "commIdBefore");
    const std::string after = Text(terminal, "commIdAfter");
    if (after.empty() || after == before) return before;
    if (before.empty()) return after;
    return before + "->" + after;
}

bool Matches(const QJsonObject& record, const HistoryFilter& filter) {
    const QJsonObject terminal = record.value("terminal").toObject();
    if (filter.commId) {
        const QJsonValue before = terminal.value("commIdBefore");
        const QJsonValue after = terminal.value("commIdAfter");
        if (before.toInt(-1) != *filter.commId && after.toInt(-1) != *filter.commId) return false;
    }
    if (filter.since) {
        const QDateTime time =
            QDateTime::fromString(record.value("time").toString(), Qt::ISODateWithMs);
        if (!time.isValid() || time < *filter.since) return false;
    }
    return true;
}

// DATE is a day (2026-12-07, from its start in local time) or a time (2026-12-07T15:30).
std::optional<QDateTime> ParseSince(const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid()) return day.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid()) return time;
    return std::nullopt;
}

bool ParseFilter(const QStringList& args, HistoryFilter& filter, std::string& usage) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--csv") {
            filter.csv = true;
        } else if (arg == "--id" && i + 1 < args.size()) {
            bool ok = false;
            const uint id = args[++i].toUInt(&ok);
            if (!ok || id > 65535) {
                usage = "history: --id needs a CommID from 0 to 65535";
                return false;
            }
            filter.commId = static_cast<int>(id);
        } else if (arg == "--since" && i + 1 < args.size()) {
            filter.since = ParseSince(args[++i]);
            if (!filter.since) {
                usage = "history: --since needs a DATE such as 2026-12-07 or 2026-12-07T15:30";
                return false;
            }
        } else {
            usage = "history takes [--id N] [--since DATE] [--csv]";
            return false;
        }
    }
    return true;
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string HistoryCsv(const std::vector<QJsonObject>& records) {
    static const char* const kColumns[] = {"time",   "program",  "version",   "command", "port",
                                           "reach",  "file",     "sha256",    "backup",  "outcome",
                                           "detail", "warnings", "durationMs"};
    static const char* const kTerminalColumns[] = {
        "type", "version", "commIdBefore", "commIdAfter", "scanner", "rfid", "color", "display"};
    std::string csv;
    auto endLine = [&csv] {
        csv.pop_back();
        csv += "\r\n";
    };
    for (const char* column : kColumns) csv += std::string(column) + ",";
    for (const char* column : kTerminalColumns) csv += std::string("terminal.") + column + ",";
    endLine();
    for (const QJsonObject& record : records) {
        const QJsonObject terminal = record.value("terminal").toObject();
        for (const char* column : kColumns) csv += CsvField(Text(record, column)) + ",";
        for (const char* column : kTerminalColumns) csv += CsvField(Text(terminal, column)) + ",";
        endLine();
    }
    return csv;
}

std::string HistoryTable(const std::vector<QJsonObject>& records) {
    std::string table;
    for (const QJsonObject& record : records) {
        const QJsonObject terminal = record.value("terminal").toObject();
        std::string line =
            Text(record, "time") + "  " + Text(record, "command") + "  COM" + Text(record, "port");
        if (const std::string ids = CommIds(terminal); !ids.empty()) line += "  id " + ids;
        line += "  " + Text(record, "outcome");
        if (const std::string detail = Text(record, "detail"); !detail.empty())
            line += " (" + detail + ")";
        if (const std::string file = Text(record, "file"); !file.empty()) line += "  " + file;
        table += line + "\n";
    }
    return table;
}

CommandResult RunHistory(CliSession& session, const QStringList& args) {
    HistoryFilter filter;
    std::string usage;
    if (!ParseFilter(args, filter, usage)) return CommandResult::Usage(usage);
    if (filter.csv && session.host.Json())
        return CommandResult::Usage("history: --csv and --json exclude each other");
    const ServiceLogContents log = ReadServiceLog(session.serviceLog.Path());
    if (!log.error.empty()) {
        session.host.Note("cannot read the service log " + log.error);
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kFile, log.error));
    }
    if (log.skipped > 0)
        session.host.Note(std::to_string(log.skipped) +
                          " lines of the service log are no record and were skipped");
    std::vector<QJsonObject> shown;
    for (const QJsonObject& record : log.records)
        if (Matches(record, filter)) shown.push_back(record);
    if (session.host.Json()) {
        for (const QJsonObject& record : shown)
            session.host.Emit(JsonEvent("record", {{"record", record}}));
        session.host.Emit(JsonEvent(
            "summary", {{"count", static_cast<int>(shown.size())}, {"skipped", log.skipped}}));
    } else {
        session.host.Print(filter.csv ? HistoryCsv(shown) : HistoryTable(shown));
    }
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace vk930
