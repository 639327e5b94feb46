#pragma once
// The bench's journal of IDs, kept in its service log: one line per entry,
// {"time": ..., "journal": {"commId": 301, "state": "reserved", ...}}, beside the records. The
// records' own "reservedId" (logs written before the journal) count as entries too.
#include <QJsonObject>
#include <optional>
#include <string>

#include "core/registry/id_journal.h"

namespace vk930 {

class ServiceLogFile;

// The entry as its journal line's object, and back (nullopt: not a journal line).
QJsonObject JournalEntryToJson(const JournalEntry& entry);
std::optional<JournalEntry> JournalEntryFromJson(const QJsonObject& line);

class ServiceLogJournal : public IdJournal {
  public:
    explicit ServiceLogJournal(ServiceLogFile& log) : log_(log) {}
    Result<std::vector<JournalEntry>> Load() override;
    Status Add(JournalEntry entry) override;
    // A holder of this host whose process no longer exists.
    bool HolderGone(const std::string& holder) const override;
    std::string Where() const override;

  private:
    ServiceLogFile& log_;
};

// This process as a journal names it: host:pid.
std::string ThisHolder();
// Whether `holder` names a process of this host that no longer exists. A process of another
// host cannot be asked: it counts as alive, and its reservations stay open.
bool HolderGoneFromThisHost(const std::string& holder);

}  // namespace vk930
