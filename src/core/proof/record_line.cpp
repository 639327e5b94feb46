// Service records as JSON lines, written and read without a JSON library.
#include "core/proof/record_line.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/base/bounded_file.h"
#include "core/base/json_value.h"
#include "core/base/sha256.h"

namespace vk930 {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long SecondsOf(const std::tm& time) {
    return DaysFromCivil(time.tm_year + 1900LL, static_cast<unsigned>(time.tm_mon + 1),
                         static_cast<unsigned>(time.tm_mday)) *
               86400 +
           time.tm_hour * 3600LL + time.tm_min * 60LL + time.tm_sec;
}

std::string IdentityText(const RecordedIdentity& identity) {
    JsonObjectText terminal;
    const auto optional = [&terminal](const char* name, const std::optional<int>& value) {
        if (value) terminal.Integer(name, *value);
    };
    optional("type", identity.deviceType);
    if (identity.version) terminal.Text("version", *identity.version);
    optional("commIdBefore", identity.commIdBefore);
    optional("commIdAfter", identity.commIdAfter);
    optional("scanner", identity.scanner);
    optional("rfid", identity.rfid);
    optional("color", identity.color);
    optional("display", identity.display);
    return terminal.Done();
}

std::string ReservedText(const ReservedId& id) {
    JsonObjectText reserved;
    reserved.Integer("commId", id.commId);
    reserved.Text("state", id.written ? "written" : (id.mayCarry ? "may-carry" : "skipped"));
    if (!id.written) reserved.Text("reason", id.skipReason);
    if (!id.possible.empty()) {
        std::vector<std::string> possible;
        for (int value : id.possible) possible.push_back(std::to_string(value));
        reserved.Raw("possible", JsonArrayText(possible));
    }
    return reserved.Done();
}

// Reads `count` digits at `at`; nullopt when they are not all there.
std::optional<int> Digits(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool Matches(const JsonValue& record, const RecordQuery& query) {
    if (query.commId) {
        const JsonValue* terminal = record.Member("terminal");
        const auto id = [terminal](const char* name) {
            return terminal ? JsonInt(terminal->Member(name)) : std::nullopt;
        };
        if (id("commIdBefore") != query.commId && id("commIdAfter") != query.commId) return false;
    }
    if (query.since) {
        const std::optional<long long> time = IsoTimeMs(JsonString(record.Member("time")));
        const long long since =
            std::chrono::duration_cast<std::chrono::milliseconds>(query.since->time_since_epoch())
                .count();
        if (!time || *time < since) return false;
    }
    return true;
}

std::string_view WithoutBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string LocalIsoTime(std::chrono::system_clock::time_point time) {
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    const long long floorSeconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    const std::time_t seconds = static_cast<std::time_t>(floorSeconds);
    std::tm local{};
    std::tm utc{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
    gmtime_s(&utc, &seconds);
#else
    localtime_r(&seconds, &local);
    gmtime_r(&seconds, &utc);
#endif
    const long long offset = (SecondsOf(local) - SecondsOf(utc)) / 60;
    const long long minutes = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02lld:%02lld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, static_cast<int>(ms - floorSeconds * 1000),
                  offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::optional<long long> IsoTimeMs(std::string_view text) {
    const std::optional<int> year = Digits(text, 0, 4), month = Digits(text, 5, 2),
                             day = Digits(text, 8, 2), hour = Digits(text, 11, 2),
                             minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || text[4] != '-' ||
        text[7] != '-' || (text[10] != 'T' && text[10] != ' ') || text[13] != ':' ||
        text[16] != ':' || *month < 1 || *month > 12 || *day < 1 || *day > 31 || *hour > 23 ||
        *minute > 59 || *second > 60)
        return std::nullopt;
    size_t at = 19;
    long long ms = 0;
    if (at < text.size() && text[at] == '.') {
        long long scale = 100;
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
            ms += (text[at] - '0') * scale;
    }
    long long offset = 0;
    if (at < text.size() && text[at] == 'Z') {
        ++at;
    } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        const std::optional<int> hours = Digits(text, at + 1, 2), minutes = Digits(text, at + 4, 2);
        if (!hours || !minutes || text[at + 3] != ':') return std::nullopt;
        offset = (text[at] == '-' ? -1 : 1) * (*hours * 60LL + *minutes);
        at += 6;
    } else {
        return std::nullopt;
    }
    if (at != text.size()) return std::nullopt;
    const long long seconds =
        DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) * 86400 +
        *hour * 3600LL + *minute * 60LL + *second - offset * 60;
    return seconds * 1000 + ms;
}

std::string RecordedFileSha256(const std::string& path) {
    const BoundedFile file = ReadBoundedFile(path, kMaxRecordedFileBytes);
    return file.problem == FileReadProblem::kNone ? Sha256Hex(file.bytes) : std::string();
}

std::string RecordLineText(const ServiceRecord& record, const FileDigest& digest) {
    JsonObjectText object;
    object.Text("time", LocalIsoTime(record.time));
    object.Text("program", record.program);
    object.Text("version", record.version);
    object.Text("command", record.command);
    object.Integer("port", record.comPort);
    object.Text("reach", record.reach);
    object.Raw("terminal", IdentityText(record.identity));
    if (!record.file.empty()) {
        object.Text("file", record.file);
        const std::string sha256 =
            record.sha256.empty() && digest ? digest(record.file) : record.sha256;
        if (!sha256.empty()) object.Text("sha256", sha256);
    }
    if (!record.backup.empty()) object.Text("backup", record.backup);
    object.Text("outcome", ToString(record.outcome));
    object.Text("detail", record.detail);
    object.Integer("warnings", record.warnings);
    object.Integer("durationMs", record.durationMs);
    std::vector<std::string> entries;
    for (const RecordedEntry& entry : record.entries) {
        JsonObjectText item;
        item.Integer("kind", entry.kind);
        item.Text("text", entry.text);
        entries.push_back(item.Done());
    }
    object.Raw("entries", JsonArrayText(entries));
    if (!record.seriesId.empty()) object.Text("series", record.seriesId);
    if (record.withId) object.Bool("withId", true);
    if (record.reservedId) object.Raw("reservedId", ReservedText(*record.reservedId));
    return object.Done();
}

FoundRecords FindRecordLines(std::string_view log, const RecordQuery& query) {
    FoundRecords found;
    while (!log.empty()) {
        const size_t end = log.find('\n');
        const std::string_view line = WithoutBlanks(log.substr(0, end));
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
        if (line.empty()) continue;
        const std::optional<JsonValue> object = ParseJson(line);
        if (!object || object->kind != JsonValue::Kind::kObject) {
            ++found.unreadable;
            continue;
        }
        if (object->Member("journal")) continue;  // the journal of IDs, no record
        if (Matches(*object, query)) found.json.emplace_back(line);
    }
    return found;
}

HistoryRecord HistoryRecordOf(std::string_view json) {
    HistoryRecord r;
    const std::optional<JsonValue> parsed = ParseJson(json);
    if (!parsed || parsed->kind != JsonValue::Kind::kObject) return r;
    const JsonValue& record = *parsed;
    const auto text = [&record](const char* name) { return JsonString(record.Member(name)); };
    r.time = text("time");
    r.program = text("program");
    r.command = text("command");
    r.port = JsonInt(record.Member("port")).value_or(0);
    r.reach = text("reach");
    if (const JsonValue* terminal = record.Member("terminal")) {
        r.commIdBefore = JsonInt(terminal->Member("commIdBefore"));
        r.commIdAfter = JsonInt(terminal->Member("commIdAfter"));
    }
    r.file = text("file");
    r.backup = text("backup");
    r.outcome = text("outcome");
    r.detail = text("detail");
    r.warnings = JsonInt(record.Member("warnings")).value_or(0);
    r.durationMs = JsonInteger(record.Member("durationMs")).value_or(0);
    // A command that succeeded marked only its warnings with icon 0.
    const JsonValue* entries = record.Member("entries");
    if (r.outcome == "success" && entries)
        for (const JsonValue& entry : entries->items)
            if (JsonInt(entry.Member("kind")) == 0)
                r.warningTexts.push_back(JsonString(entry.Member("text")));
    return r;
}

}  // namespace vk930
