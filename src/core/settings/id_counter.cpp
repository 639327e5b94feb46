// The counter and the journal of IDs, kept together under the store's lock.
#include "core/settings/id_counter.h"

#include <memory>
#include <optional>
#include <string>

#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

// Holds the store's lock and its opened key for one operation.
class LockedStore {
  public:
    LockedStore(SettingsBackendFactory& settings, StoreLock& lock) : lock_(lock) {
        if (Status s = lock_.Acquire(); !s) {
            error_ = "cannot lock the settings: " + s.error();
            return;
        }
        locked_ = true;
        backend_ = settings.Make();
        if (const int e = backend_->Open(); e != 0) {
            // The store's own words name the file; error numbers alone name nothing.
            const std::string problem = backend_->Problem();
            error_ = (problem.empty() ? "cannot open the settings (error " + std::to_string(e) + ")"
                                      : "cannot use the " + problem) +
                     ": make it readable and writable for this user, then go on with --next";
            backend_.reset();
        }
    }
    ~LockedStore() {
        if (backend_) backend_->Close();
        if (locked_) lock_.Release();
    }
    LockedStore(const LockedStore&) = delete;
    LockedStore& operator=(const LockedStore&) = delete;

    const std::string& Error() const { return error_; }
    bool Ok() const { return backend_ != nullptr; }

    std::optional<int> StoredId() { return backend_->Query(kValueCommId); }
    int LastId() { return StoredId().value_or(kDefaultCommId); }
    Status Store(int id) {
        if (!backend_->Set(kValueCommId, id)) return vk930::Error{"cannot write the settings"};
        return {};
    }

  private:
    StoreLock& lock_;
    bool locked_ = false;
    std::unique_ptr<SettingsBackend> backend_;
    std::string error_;
};

std::string DoesNotFit(long long id) {
    return "CommID " + std::to_string(id) + " does not fit the terminal (0 to " +
           std::to_string(kMaxCommId) + ")";
}

Result<JournalFacts> LoadFacts(IdJournal* journal) {
    if (!journal) return JournalFacts{};
    Result<std::vector<JournalEntry>> entries = journal->Load();
    if (!entries) return Error{"cannot read the journal of IDs: " + entries.error()};
    return FoldJournal(*entries);
}

// The ID after the last one handed out that the journal does not hold. A counter below what
// the journal says was handed out is not believed: someone set it back.
struct NextChoice {
    long long next = 0;
    std::optional<std::string> movedUp;
};

NextChoice ChooseNext(int stored, const JournalFacts& facts) {
    NextChoice choice;
    long long last = stored;
    if (facts.lastHandedOut && *facts.lastHandedOut > stored) {
        choice.movedUp = "\"commID\" in the settings (" + std::to_string(stored) +
                         ") is below the last ID handed out on this bench (" +
                         std::to_string(*facts.lastHandedOut) + "): counting on from " +
                         std::to_string(*facts.lastHandedOut);
        last = *facts.lastHandedOut;
    }
    choice.next = last + 1;
    while (choice.next >= 0 && choice.next <= kMaxCommId &&
           facts.held.count(static_cast<int>(choice.next)))
        ++choice.next;
    return choice;
}

Result<int> NextId(LockedStore& store, const JournalFacts& facts) {
    const long long next = ChooseNext(store.LastId(), facts).next;
    if (next < 0 || next > kMaxCommId)
        return Error{DoesNotFit(next) + ": no ID is left to hand out"};
    return static_cast<int>(next);
}

}  // namespace

Status IdCounter::StartAt(int first, bool force) {
    if (first < 0 || first > kMaxCommId) return Error{DoesNotFit(first)};
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    Result<JournalFacts> facts = LoadFacts(journal_);
    if (!facts) return Error{facts.error()};
    const std::optional<int> stored = store.StoredId();
    if (stored && first <= *stored && !force) {
        const int highest = std::max(*stored, facts->lastHandedOut.value_or(*stored));
        const int used = facts->HeldBetween(first, highest);
        std::string why = "IDs up to " + std::to_string(highest) + " were handed out on this bench";
        why += journal_ ? ("; the journal holds " + std::to_string(used) + " of IDs " +
                           std::to_string(first) + " to " + std::to_string(highest))
                        : std::string(" (\"commID\" in the settings)");
        return Error{why + ": start from " + std::to_string(highest + 1) +
                     ", use --next, or --force to start at " + std::to_string(first) +
                     " anyway (IDs the journal holds are still skipped)"};
    }
    if (journal_) {
        JournalEntry start;
        start.commId = first;
        start.state = IdState::kStart;
        if (Status s = journal_->Add(start); !s)
            return Error{"cannot record the start in the journal of IDs: " + s.error()};
    }
    return store.Store(first - 1);
}

Result<int> IdCounter::Reserve(const std::string& seriesId, std::optional<int> oldId) {
    std::optional<std::string> movedUp;
    Result<int> reserved = ReserveLocked(seriesId, oldId, movedUp);
    // Said once the lock is released: a window's box waits for the technician, and the other
    // programs sharing the store must not wait with it.
    if (movedUp && notice_) notice_(*movedUp);
    return reserved;
}

Result<int> IdCounter::ReserveLocked(const std::string& seriesId, std::optional<int> oldId,
                                     std::optional<std::string>& movedUp) {
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    Result<JournalFacts> facts = LoadFacts(journal_);
    if (!facts) return Error{facts.error()};
    // A reservation whose program ended before recording its fate may be in a terminal.
    for (const auto& [id, entry] : facts->latest) {
        if (entry.state != IdState::kReserved || !journal_->HolderGone(entry.holder)) continue;
        if (Status s = journal_->Add(OrphanResolved(entry)); !s)
            return Error{"cannot record in the journal of IDs: " + s.error()};
    }
    const NextChoice choice = ChooseNext(store.LastId(), *facts);
    if (choice.next < 0 || choice.next > kMaxCommId)
        return Error{DoesNotFit(choice.next) + ": no ID is left to hand out"};
    const int next = static_cast<int>(choice.next);
    movedUp = choice.movedUp;
    if (journal_) {
        JournalEntry reserved;
        reserved.commId = next;
        reserved.seriesId = seriesId;
        reserved.oldId = oldId;
        if (Status s = journal_->Add(reserved); !s)
            return Error{"cannot record the reservation in the journal of IDs: " + s.error()};
    }
    if (Status s = store.Store(next); !s) return Error{s.error()};
    return next;
}

Result<int> IdCounter::Peek() {
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    Result<JournalFacts> facts = LoadFacts(journal_);
    if (!facts) return Error{facts.error()};
    return NextId(store, *facts);
}

Status IdCounter::Record(const JournalEntry& entry) {
    if (!journal_) return {};
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    if (Status s = journal_->Add(entry); !s)
        return Error{"cannot record in the journal of IDs: " + s.error()};
    return {};
}

Result<JournalFacts> IdCounter::Facts() {
    LockedStore store(settings_, lock_);
    if (!store.Ok()) return Error{store.Error()};
    return LoadFacts(journal_);
}

}  // namespace vk930
