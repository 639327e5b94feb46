// Folding the journal of IDs into what it holds.
#include "core/registry/id_journal.h"

#include <algorithm>

namespace vk930 {

const char* ToString(IdState state) {
    switch (state) {
        case IdState::kStart:
            return "start";
        case IdState::kReserved:
            return "reserved";
        case IdState::kWritten:
            return "written";
        case IdState::kSkipped:
            return "skipped";
        case IdState::kMayCarry:
            return "may-carry";
    }
    return "reserved";
}

std::optional<IdState> IdStateFromText(const std::string& text) {
    for (IdState s : {IdState::kStart, IdState::kReserved, IdState::kWritten, IdState::kSkipped,
                      IdState::kMayCarry})
        if (text == ToString(s)) return s;
    return std::nullopt;
}

int JournalFacts::HeldBetween(int first, int last) const {
    if (last < first) return 0;
    const auto from = held.lower_bound(first);
    const auto to = held.upper_bound(last);
    return static_cast<int>(std::distance(from, to));
}

JournalFacts FoldJournal(const std::vector<JournalEntry>& entries) {
    JournalFacts facts;
    for (const JournalEntry& e : entries) {
        if (e.state == IdState::kStart) {
            facts.lastHandedOut = e.commId - 1;
            continue;
        }
        facts.held.insert(e.commId);
        for (int other : e.possible) facts.held.insert(other);
        if (e.state == IdState::kReserved)
            facts.lastHandedOut = std::max(facts.lastHandedOut.value_or(e.commId), e.commId);
        // A record of a written or skipped ID without its reservation (an older log) still
        // tells an ID that was handed out.
        if (!facts.latest.count(e.commId) && e.state != IdState::kReserved)
            facts.lastHandedOut = std::max(facts.lastHandedOut.value_or(e.commId), e.commId);
        facts.latest[e.commId] = e;
    }
    return facts;
}

int HalfWrittenId(int oldId, int newId, bool lowByteFirst) {
    return lowByteFirst ? (oldId & 0xff00) | (newId & 0x00ff) : (newId & 0xff00) | (oldId & 0x00ff);
}

std::vector<int> PossibleAfterFailedWrite(int oldId, int newId, bool lowByteFirst) {
    std::vector<int> values{oldId, newId};
    const int mixed = HalfWrittenId(oldId, newId, lowByteFirst);
    if (std::find(values.begin(), values.end(), mixed) == values.end()) values.push_back(mixed);
    if (oldId == newId) values.resize(1);
    return values;
}

std::vector<int> PossibleAfterUnknownEnd(int oldId, int newId) {
    std::vector<int> values;
    for (int value : {oldId, HalfWrittenId(oldId, newId, false), HalfWrittenId(oldId, newId, true)})
        if (value != newId && std::find(values.begin(), values.end(), value) == values.end())
            values.push_back(value);
    return values;
}

JournalEntry OrphanResolved(const JournalEntry& reservation) {
    JournalEntry resolved = reservation;
    resolved.state = IdState::kMayCarry;
    resolved.reason = "the program that reserved it (" + reservation.holder +
                      ") ended before recording what became of it";
    resolved.possible.clear();
    if (reservation.oldId) {
        resolved.possible = PossibleAfterUnknownEnd(*reservation.oldId, reservation.commId);
        std::vector<int> all{reservation.commId};
        all.insert(all.end(), resolved.possible.begin(), resolved.possible.end());
        resolved.reason += ": the terminal carries " + JoinIds(all);
    }
    resolved.holder.clear();
    return resolved;
}

std::string JoinIds(const std::vector<int>& ids) {
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) text += i + 1 == ids.size() ? " or " : ", ";
        text += std::to_string(ids[i]);
    }
    return text;
}

}  // namespace vk930
