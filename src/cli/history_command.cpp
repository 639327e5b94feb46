#include "cli/history_command.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <chrono>

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "cli/since_date.h"

namespace vk930 {

namespace {

struct HistoryFilter {
    RecordQuery query;
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
            filter.query.commId = static_cast<int>(id);
        } else if (arg == "--since" && i + 1 < args.size()) {
            const std::optional<QDateTime> since = ParseSinceDate(args[++i]);
            if (!since) {
                usage =
                    "history: --since needs a DATE such as 2026-12-07, 2026-12-07T15:30 or "
                    "2026-12-07T15:30:05, not '" +
                    args[i].toStdString() + "'";
                return false;
            }
            // A clock counts only some centuries: a later DATE is the latest time it holds.
            using Clock = std::chrono::system_clock;
            const auto latest = std::chrono::duration_cast<std::chrono::milliseconds>(
                Clock::time_point::max().time_since_epoch());
            const std::chrono::milliseconds ms(since->toMSecsSinceEpoch());
            filter.query.since =
                ms >= latest ? Clock::time_point::max()
                             : Clock::time_point(std::chrono::duration_cast<Clock::duration>(ms));
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
    // The bench's own service log, or with a shared registry the records of every bench.
    Result<FoundRecords> found = session.registry->Find(filter.query);
    if (!found) {
        session.host.Note(found.error());
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kFile, found.error()));
    }
    if (found->unreadable > 0)
        session.host.Note(std::to_string(found->unreadable) +
                          " lines of the service log are no record and were skipped");
    std::vector<QJsonObject> shown;
    for (const std::string& json : found->json)
        shown.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(json)).object());
    if (session.host.Json()) {
        for (const QJsonObject& record : shown)
            session.host.Emit(JsonEvent("record", {{"record", record}}));
        session.host.Emit(JsonEvent("summary", {{"count", static_cast<int>(shown.size())},
                                                {"skipped", found->unreadable}}));
    } else {
        session.host.Print(filter.csv ? HistoryCsv(shown) : HistoryTable(shown));
    }
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace vk930
