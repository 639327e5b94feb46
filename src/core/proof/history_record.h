#pragma once
// A stored service record as the history shows it: the fields a person looks for, read from
// wherever the records are kept (the bench's service log, the shared registry).
#include <optional>
#include <string>
#include <vector>

namespace vk930 {

struct HistoryRecord {
    std::string time;  // as stored: ISO 8601 with its offset
    std::string program;
    std::string command;
    int port = 0;
    std::string reach;
    std::optional<int> commIdBefore, commIdAfter;
    std::string file;
    std::string backup;
    std::string outcome;  // ToString(OutcomeClass)
    std::string detail;
    int warnings = 0;
    std::vector<std::string> warningTexts;  // the log entries that were warnings
    long long durationMs = 0;
};

}  // namespace vk930
