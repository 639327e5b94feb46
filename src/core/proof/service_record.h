#pragma once
// One record of the service log: what a command did, to which terminal, with which file and
// how it ended. The core fills it; a sink of the platform layer stores it.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/commands/host.h"
#include "core/commands/outcome.h"

namespace vk930 {

// The terminal as the command saw it; a member is unset when the command never learnt it.
struct RecordedIdentity {
    std::optional<int> deviceType;
    std::optional<std::string> version;
    std::optional<int> commIdBefore;                   // read before the command's first write
    std::optional<int> commIdAfter;                    // read after it
    std::optional<int> scanner, rfid, color, display;  // hardware codes of page 0
};

struct RecordedEntry {
    std::string text;
    int kind = 0;
    EntrySeverity severity = EntrySeverity::kProgress;
};

// Within a series: the ID reserved for the terminal and what became of it. A skipped ID is
// never handed out again; its reason explains the gap in the series' numbers.
struct ReservedId {
    int commId = -1;
    bool written = false;
    std::string skipReason;     // empty when written
    bool mayCarry = false;      // not confirmed, yet a terminal may carry it
    std::vector<int> possible;  // other values the terminal may carry after a failed write
};

struct ServiceRecord {
    std::chrono::system_clock::time_point time;  // when the command started
    std::string program;                         // "vk930ctl", "vk930config"
    std::string version;
    std::string command;  // "info", "set", "history", ...
    int comPort = 0;
    std::string reach;  // what the port reaches: a device path or a simulator spec
    RecordedIdentity identity;
    std::string file;    // the parameter or firmware file; empty when none
    std::string sha256;  // of `file` as it was when the record was written; empty when unread
    std::string backup;  // the backup written before a Set; empty when none
    OutcomeClass outcome = OutcomeClass::kSuccess;
    std::string detail;
    int warnings = 0;
    long long durationMs = 0;
    std::vector<RecordedEntry> entries;
    std::string seriesId;  // shared by the records of one series; empty outside a series
    std::optional<ReservedId> reservedId;
    bool withId = false;  // a restore was allowed to change the terminal's CommID
};

// Where the records go. Append stores one whole record or nothing; the reason of a failure
// is for the user (the log is a record, never a reason to stop a command).
class ServiceLogSink {
  public:
    virtual ~ServiceLogSink() = default;
    virtual Status Append(const ServiceRecord& record) = 0;
    // Where the records are kept, for messages.
    virtual std::string Path() const = 0;
};

}  // namespace vk930
