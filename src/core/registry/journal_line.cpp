// Journal lines written and read as JSON text.
#include "core/registry/journal_line.h"

#include <cstdio>
#include <ctime>

#include "core/base/json_value.h"

namespace vk930 {

namespace {

std::string UtcTime(std::chrono::system_clock::time_point time) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d+00:00", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(ms % 1000));
    return text;
}

}  // namespace

std::string JournalLineText(const JournalEntry& entry, std::chrono::system_clock::time_point time) {
    std::string body = "{\"commId\":" + std::to_string(entry.commId) + ",\"state\":";
    AppendJsonString(body, ToString(entry.state));
    const auto text = [&body](const char* name, const std::string& value) {
        if (value.empty()) return;
        body += ",\"" + std::string(name) + "\":";
        AppendJsonString(body, value);
    };
    text("reason", entry.reason);
    if (!entry.possible.empty()) {
        body += ",\"possible\":[";
        for (size_t i = 0; i < entry.possible.size(); ++i)
            body += (i ? "," : "") + std::to_string(entry.possible[i]);
        body += "]";
    }
    text("series", entry.seriesId);
    text("holder", entry.holder);
    if (entry.oldId) body += ",\"oldId\":" + std::to_string(*entry.oldId);
    std::string line = "{\"time\":";
    AppendJsonString(line, UtcTime(time));
    return line + ",\"journal\":" + body + "}}";
}

std::optional<JournalEntry> ParseJournalLine(std::string_view line) {
    const std::optional<JsonValue> document = ParseJson(line);
    if (!document || document->kind != JsonValue::Kind::kObject) return std::nullopt;
    const JsonValue* body = document->Member("journal");
    if (!body || body->kind != JsonValue::Kind::kObject) return std::nullopt;
    const std::optional<int> commId = JsonInt(body->Member("commId"));
    const std::optional<IdState> state = IdStateFromText(JsonString(body->Member("state")));
    if (!commId || *commId < 0 || !state) return std::nullopt;
    JournalEntry entry;
    entry.commId = *commId;
    entry.state = *state;
    entry.reason = JsonString(body->Member("reason"));
    if (const JsonValue* possible = body->Member("possible");
        possible && possible->kind == JsonValue::Kind::kArray) {
        for (const JsonValue& item : possible->items)
            if (const std::optional<int> value = JsonInt(&item)) entry.possible.push_back(*value);
    }
    entry.seriesId = JsonString(body->Member("series"));
    entry.holder = JsonString(body->Member("holder"));
    entry.oldId = JsonInt(body->Member("oldId"));
    return entry;
}

}  // namespace vk930
