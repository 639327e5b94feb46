#pragma once
// The shop's registry of terminals: the next-ID counter of a series and the record of every
// command. A single bench keeps it in its settings store ("commID") and its service log; several
// benches share one on a database server. Any call may fail (a store or a server that cannot
// be reached); a series then stops before its next reservation and never falls back to another
// counter, since that would hand out IDs twice.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/proof/service_record.h"
#include "core/registry/id_journal.h"

namespace vk930 {

// Which records to find: those naming a CommID (before or after their command) and those of
// commands started at or after a time; an unset member does not filter.
struct RecordQuery {
    std::optional<int> commId;
    std::optional<std::chrono::system_clock::time_point> since;
};

struct FoundRecords {
    std::vector<std::string> json;  // each record as its JSON object text, oldest first
    int unreadable = 0;             // stored lines that are no record, left out
};

// What a registry holds, for `vk930ctl registry status`; a member is unset when this kind of
// registry does not keep it.
struct RegistrySummary {
    std::string where;  // Describe()
    std::optional<int> schemaVersion;
    std::optional<int> nextId;  // the ID the next reservation hands out
    std::optional<long long> records;
    // Reserved IDs by what became of them.
    std::optional<long long> reserved, written, skipped, mayCarry;
    long long waiting = 0;     // records kept on this bench, not yet sent to the registry
    std::string waitingWhere;  // where those are kept
    long long refused = 0;     // records of this bench the registry refused, kept here
    std::string refusedWhere;  // where those are kept, with the registry's reason
};

class TerminalRegistry : public ServiceLogSink {
  public:
    // Makes `first` the next ID to hand out. Refused when `first` does not fit a terminal or
    // IDs from `first` on were handed out already, unless `force` (where the registry allows
    // it); an ID the registry holds is never handed out again either way.
    virtual Status StartAt(int first, bool force = false) = 0;
    // The next ID for a terminal of `seriesId`, stored durably before it is returned, so it is
    // never handed out again, whatever happens to its terminal. `oldId`, the ID that terminal
    // carries, is kept with it: should the program end before recording the ID's fate, the
    // values a cut write may have left are named from it.
    virtual Result<int> Reserve(const std::string& seriesId,
                                std::optional<int> oldId = std::nullopt) = 0;
    // What became of a reserved ID: its bytes went into a terminal, or it was skipped (the
    // write failed, the terminal was pulled) for `reason`. A skipped ID is never reused.
    virtual Status MarkWritten(int commId, const std::string& seriesId) = 0;
    virtual Status MarkSkipped(int commId, const std::string& seriesId,
                               const std::string& reason) = 0;
    // A reserved ID that a terminal may carry, or one of `possible` (a write that failed half
    // way, a terminal that did not answer after it): none of them is ever handed out again.
    virtual Status MarkMayCarry(int commId, const std::string& seriesId, const std::string& reason,
                                const std::vector<int>& possible) {
        std::string why = reason;
        if (!possible.empty()) why += " (the terminal carries " + JoinIds(possible) + ")";
        return MarkSkipped(commId, seriesId, why);
    }
    // The latest thing the registry recorded of `commId` as a reserved ID; nullopt when it
    // holds none (or keeps no such record).
    virtual Result<std::optional<JournalEntry>> RecordedFate(int commId) {
        (void)commId;
        return std::optional<JournalEntry>{};
    }
    // The records that match `query`; an error when the registry cannot be read.
    virtual Result<FoundRecords> Find(const RecordQuery& query) = 0;
    // What the registry holds; an error when it cannot be read.
    virtual Result<RegistrySummary> Summarize() = 0;
    // Where the registry lives, for messages: the settings file, a database address.
    virtual std::string Describe() const = 0;
};

// Where a bench's own records can be searched (its service log).
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    virtual Result<FoundRecords> Find(const RecordQuery& query) const = 0;
};

}  // namespace vk930
