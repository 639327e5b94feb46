// The series records of a service log, compared across programs.
#include "support/series_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "core/base/json_value.h"

namespace vk930::test {

namespace {

// The members that differ between two runs of one series.
constexpr const char* kVarying[] = {"time",   "program",  "version", "series",  "durationMs",
                                    "backup", "terminal", "seconds", "started", "ended"};

std::string CompactText(const JsonValue& value) {
    switch (value.kind) {
        case JsonValue::Kind::kNull:
            return "null";
        case JsonValue::Kind::kBool:
            return value.number != 0 ? "true" : "false";
        case JsonValue::Kind::kNumber: {
            if (value.number == std::floor(value.number) && std::fabs(value.number) < 1e15)
                return std::to_string(static_cast<long long>(value.number));
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", value.number);
            return text;
        }
        case JsonValue::Kind::kString: {
            std::string text;
            AppendJsonString(text, value.text);
            return text;
        }
        case JsonValue::Kind::kArray: {
            std::vector<std::string> items;
            for (const JsonValue& item : value.items) items.push_back(CompactText(item));
            return JsonArrayText(items);
        }
        case JsonValue::Kind::kObject: {
            JsonObjectText object;
            for (const auto& [name, member] : value.members) object.Raw(name, CompactText(member));
            return object.Done();
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> SeriesRecordsOf(const std::string& log, const std::string& program,
                                         std::vector<int>& ids, const std::string& file,
                                         const std::vector<std::string>& ignored) {
    std::vector<std::string> records;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        std::optional<JsonValue> record = ParseJson(line);
        if (!record || JsonString(record->Member("command")) != "series" ||
            JsonString(record->Member("program")) != program ||
            (!file.empty() && JsonString(record->Member("file")) != file))
            continue;
        auto reserved = record->members.find("reservedId");
        if (reserved != record->members.end()) {
            ids.push_back(JsonInt(reserved->second.Member("commId")).value_or(-1));
            reserved->second.members.erase("commId");
        }
        for (const char* key : kVarying) record->members.erase(key);
        for (const std::string& key : ignored) record->members.erase(key);
        records.push_back(CompactText(*record));
    }
    return records;
}

}  // namespace vk930::test
