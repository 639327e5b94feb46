#pragma once
// A journal of IDs held in memory; can be made to refuse its writes or its reads, and notes
// each entry among other events to show their order.
#include <set>
#include <string>
#include <vector>

#include "core/proof/service_record.h"
#include "core/registry/id_journal.h"
#include "core/settings/id_counter.h"

namespace vk930::test {

class MemoryJournal : public IdJournal {
  public:
    Result<std::vector<JournalEntry>> Load() override {
        if (!readProblem.empty()) return Error{readProblem};
        return entries;
    }
    Status Add(JournalEntry entry) override {
        if (!writeProblem.empty()) return Error{writeProblem};
        if (entry.holder.empty() && entry.state == IdState::kReserved) entry.holder = holder;
        if (events)
            events->push_back("journal " + std::to_string(entry.commId) + " " +
                              ToString(entry.state));
        entries.push_back(entry);
        return {};
    }
    bool HolderGone(const std::string& h) const override { return gone.count(h) > 0; }
    std::string Where() const override { return "memory journal"; }

    // The latest state of an ID, "" when the journal has none.
    std::string StateOf(int commId) const {
        const JournalFacts facts = FoldJournal(entries);
        const auto found = facts.latest.find(commId);
        return found == facts.latest.end() ? "" : ToString(found->second.state);
    }

    std::vector<JournalEntry> entries;
    std::string holder = "bench:1";
    std::set<std::string> gone;  // holders whose programs ended
    std::string writeProblem;    // non-empty: every Add fails with it
    std::string readProblem;     // non-empty: every Load fails with it
    std::vector<std::string>* events = nullptr;
};

// A lock nobody else takes: the tests run one counter at a time.
class FreeLock : public StoreLock {
  public:
    Status Acquire() override { return {}; }
    void Release() override {}
};

// The service records, kept in memory.
class MemoryRecords : public ServiceLogSink {
  public:
    explicit MemoryRecords(std::string where = "memory") : path(std::move(where)) {}
    Status Append(const ServiceRecord& record) override {
        records.push_back(record);
        return {};
    }
    std::string Path() const override { return path; }
    std::vector<ServiceRecord> records;
    std::string path;
};

}  // namespace vk930::test
