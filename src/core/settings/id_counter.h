#pragma once
// The next-ID counter of a series of terminals, and the one path by which any ID is handed
// out. "commID" in the settings store holds the last ID handed out (the next-ID button carries
// on from it); the journal holds every ID reserved and its fate. A reservation takes the next
// ID that the journal does not hold, records it in the journal and stores it, all under a lock
// that every program sharing the store takes, before its bytes are written to any terminal:
// neither two stations, a counter set back, nor a crash ever hand out an ID twice.
#include <functional>
#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/registry/id_journal.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// The highest ID a terminal can carry (two bytes).
inline constexpr int kMaxCommId = 65535;

// An exclusive lock on the settings store, held only for one reservation.
class StoreLock {
  public:
    virtual ~StoreLock() = default;
    // Blocks until the lock is held; an error when it cannot be taken at all.
    virtual Status Acquire() = 0;
    virtual void Release() = 0;
};

// What the technician is to know that is no failure (a counter found below the journal).
using CounterNotice = std::function<void(const std::string& text)>;

class IdCounter {
  public:
    // Without a journal only the stored counter is kept (a bench without a service log).
    IdCounter(SettingsBackendFactory& settings, StoreLock& lock, IdJournal* journal = nullptr,
              CounterNotice notice = {})
        : settings_(settings), lock_(lock), journal_(journal), notice_(std::move(notice)) {}

    // Makes `first` the next ID to hand out. With no "commID" stored any start fits; with one
    // stored, a start at or below it is refused (the message names the highest ID handed out
    // and how many of the requested IDs the journal holds) unless `force`. Either way an ID
    // the journal holds is never handed out.
    Status StartAt(int first, bool force = false);
    // The next ID, recorded as reserved in the journal (with `oldId`, the ID the terminal to
    // get it carries, when known) and stored as the last one handed out before it is returned.
    // Errors: the store or the journal cannot be read or written, or no ID that fits a
    // terminal is left.
    Result<int> Reserve(const std::string& seriesId = "", std::optional<int> oldId = std::nullopt);
    // The ID the next reservation would hand out, reserving nothing. Errors as Reserve's.
    Result<int> Peek();
    // Adds an entry to the journal under the lock (what became of a reserved ID).
    Status Record(const JournalEntry& entry);
    // The journal as it is now; empty facts without a journal.
    Result<JournalFacts> Facts();
    // Where the journal is kept; empty without one.
    std::string JournalWhere() const { return journal_ ? journal_->Where() : std::string(); }

  private:
    // Reserve's work under the lock; `movedUp` receives the notice to give after it.
    Result<int> ReserveLocked(const std::string& seriesId, std::optional<int> oldId,
                              std::optional<std::string>& movedUp);

    SettingsBackendFactory& settings_;
    StoreLock& lock_;
    IdJournal* journal_;
    CounterNotice notice_;
};

}  // namespace vk930
