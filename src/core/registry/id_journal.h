#pragma once
// The bench's journal of IDs: every ID it reserved and what became of it, so that no ID is
// handed out twice whatever the counter in the settings says or a crash left behind. Entries
// are only ever added; the latest entry of an ID is its state.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/base/result.h"

namespace vk930 {

enum class IdState {
    kStart,     // the counter was set to start at this ID (series --from); no ID is held by it
    kReserved,  // handed out, stored before any of its bytes went to a terminal
    kWritten,   // read back from the terminal after its reset
    kSkipped,   // not in any terminal, for the reason given
    kMayCarry,  // a terminal may carry it (or one of `possible`): never handed out again
};

const char* ToString(IdState state);
std::optional<IdState> IdStateFromText(const std::string& text);

struct JournalEntry {
    int commId = -1;
    IdState state = IdState::kReserved;
    std::string reason;         // why skipped or only possibly carried; empty otherwise
    std::vector<int> possible;  // other values a terminal may carry after a failed write
    std::string seriesId;       // empty outside a series
    std::string holder;         // the program that reserved it (host:pid); filled by the journal
    // The ID the terminal carried before the write (a reservation's entry): what a write cut
    // by the end of its program may have left is named from it.
    std::optional<int> oldId;
};

// Where the journal is kept. Every call may fail; a journal that cannot be read or written
// gives no ID.
class IdJournal {
  public:
    virtual ~IdJournal() = default;
    // Every entry, oldest first.
    virtual Result<std::vector<JournalEntry>> Load() = 0;
    // Stores the entry durably (on disk before it returns), filling its holder when empty.
    virtual Status Add(JournalEntry entry) = 0;
    // Whether the program named by `holder` has ended, so that its reservations that are still
    // open can never be resolved by it. False when that cannot be known.
    virtual bool HolderGone(const std::string& holder) const = 0;
    // Where the journal is kept, for messages.
    virtual std::string Where() const = 0;
};

// What the journal's entries say together.
struct JournalFacts {
    std::map<int, JournalEntry> latest;  // the latest entry of every ID that was reserved
    std::set<int> held;                  // IDs never to be handed out again
    // The last ID handed out since the counter was last started somewhere; unset when the
    // journal tells none.
    std::optional<int> lastHandedOut;
    // How many IDs of first..last the journal holds.
    int HeldBetween(int first, int last) const;
};

JournalFacts FoldJournal(const std::vector<JournalEntry>& entries);

// The value a terminal carries when a write of `newId` over `oldId` stopped after its first
// byte: the new high byte with the old low one, or (low byte first) the other way round.
int HalfWrittenId(int oldId, int newId, bool lowByteFirst);
// The possible values after such a write failed somewhere: the old one, the new one and the
// half-written one.
std::vector<int> PossibleAfterFailedWrite(int oldId, int newId, bool lowByteFirst = false);

// The values besides `newId` that a terminal may carry when the program writing `newId` over
// `oldId` ended at a moment no one knows (killed): its old ID, and the half-written one of
// either byte order.
std::vector<int> PossibleAfterUnknownEnd(int oldId, int newId);

// What an open reservation becomes once the program holding it has ended without recording its
// fate: a terminal may carry it, or (with its old ID known) any value the cut write may leave.
JournalEntry OrphanResolved(const JournalEntry& reservation);

// "300, 301 or 257", for people.
std::string JoinIds(const std::vector<int>& ids);

}  // namespace vk930
