// Reserving, writing and recording one counted ID.
#include "core/registry/numbering.h"

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/forms/form_ids.h"

namespace vk930 {

PortProbe ProbePort(const CommandContext& ctx) {
    PortProbe probe;
    if (!ctx.link.Connect(ctx.Port(), 19200)) return probe;
    probe.opened = true;
    if (ctx.link.ReadInfo() == 1) {
        probe.commId = ctx.link.GetCommIdText();
        ctx.CommIdRead(*probe.commId);
    }
    ctx.link.Connect(ctx.Port(), 0);
    return probe;
}

std::string MayCarry(const std::string& cause) {
    return "not confirmed: " + cause + "; the terminal may carry this ID";
}

namespace {

// While the write runs: the reservation keeps "commID", and the byte order is the one chosen.
class WriteSettings {
  public:
    WriteSettings(AppState& state, bool lowByteFirst)
        : state_(state), kept_(state.commIdKeptByCaller) {
        state_.commIdKeptByCaller = true;
        state_.commIdLowByteFirst = lowByteFirst;
    }
    ~WriteSettings() {
        state_.commIdKeptByCaller = kept_;
        state_.commIdLowByteFirst = false;
    }

  private:
    AppState& state_;
    bool kept_;
};

// Whether `id` is one the registry handed out (so another terminal may carry it).
bool HandedOut(TerminalRegistry& registry, int id) {
    Result<std::optional<JournalEntry>> fate = registry.RecordedFate(id);
    return !fate || fate->has_value();
}

// High byte first, as the CommID command writes it, unless a write cut after that byte would
// leave an ID another terminal carries and the other order would not.
bool LowByteFirst(TerminalRegistry& registry, std::optional<int> oldId, int newId) {
    if (!oldId) return false;
    const auto taken = [&](bool lowFirst) {
        const int half = HalfWrittenId(*oldId, newId, lowFirst);
        return half != newId && half != *oldId && HandedOut(registry, half);
    };
    return taken(false) && !taken(true);
}

// A write that failed after a byte was sent: what the terminal carries now, if it says.
void JudgeFailedWrite(const CommandContext& ctx, NumberedTerminal& n, std::optional<int> oldId,
                      bool lowFirst) {
    const PortProbe probe = ProbePort(ctx);
    if (probe.commId) {
        const int carried = CAtoi(*probe.commId);
        n.readBack = carried;
        if (oldId && carried == *oldId) {
            n.fate = IdState::kSkipped;
            n.reason = "not written: the terminal still carries " + std::to_string(carried);
        } else if (carried == n.commId) {
            n.fate = IdState::kMayCarry;
            n.reason = MayCarry(n.write.outcome.detail + ", yet the terminal reads it back");
        } else {
            n.fate = IdState::kMayCarry;
            n.possible = {carried};
            n.reason = "the write failed half way: the terminal carries " +
                       std::to_string(carried) + ", neither its old ID nor this one";
        }
        return;
    }
    n.fate = IdState::kMayCarry;
    if (oldId) {
        for (int value : PossibleAfterFailedWrite(*oldId, n.commId, lowFirst))
            if (value != n.commId) n.possible.push_back(value);
    }
    std::vector<int> all{n.commId};
    all.insert(all.end(), n.possible.begin(), n.possible.end());
    n.reason = "the write failed and the terminal no longer answers: it carries " +
               (oldId ? JoinIds(all) : "its old ID or this one");
}

// What the write left, judged from what the terminal read back.
void Judge(const CommandContext& ctx, NumberedTerminal& n, std::optional<int> oldId,
           bool lowFirst) {
    const Outcome& written = n.write.outcome;
    // A write that succeeded identified the terminal after its restart.
    const int shown = n.write.identity ? n.write.identity->commId : 0;
    if (written.ok() && shown == n.commId) {
        n.readBack = shown;
        n.fate = IdState::kWritten;
        return;
    }
    if (n.write.bytesAcknowledged) {
        n.fate = IdState::kMayCarry;
        if (written.ok()) {
            n.readBack = shown;
            // What answered carries neither ID: a swapped terminal, or bytes the wire garbled.
            // Its ID is held too, so that no other terminal is ever given it.
            if (shown != n.commId && (!oldId || shown != *oldId)) n.possible = {shown};
            n.reason = MayCarry("the terminal reads back " + std::to_string(shown) +
                                " (another terminal may have taken its place)");
        } else {
            n.reason = MayCarry(written.outcomeClass == OutcomeClass::kInterrupted
                                    ? "a stop came after its bytes were written"
                                    : written.detail);
        }
        return;
    }
    if (!n.write.writeStarted) {
        n.fate = IdState::kSkipped;
        n.reason = written.outcomeClass == OutcomeClass::kInterrupted
                       ? "stopped before its write"
                       : "not written: " + written.detail;
        return;
    }
    JudgeFailedWrite(ctx, n, oldId, lowFirst);
}

// A terminal renumbered on purpose no longer carries the ID it had: the journal says where it
// went, so that no record claims a terminal carries it.
void NoteRenumbered(TerminalRegistry& registry, const NumberedTerminal& n, int oldId) {
    if (!n.Written() || oldId == n.commId) return;
    Result<std::optional<JournalEntry>> old = registry.RecordedFate(oldId);
    if (!old || !old->has_value() || (*old)->state == IdState::kSkipped) return;
    registry.MarkSkipped(
        oldId, (*old)->seriesId,
        "renumbered: the terminal that carried it carries " + std::to_string(n.commId) + " now");
}

Status Mark(TerminalRegistry& registry, const NumberedTerminal& n, const std::string& seriesId) {
    switch (n.fate) {
        case IdState::kWritten:
            return registry.MarkWritten(n.commId, seriesId);
        case IdState::kMayCarry:
            return registry.MarkMayCarry(n.commId, seriesId, n.reason, n.possible);
        default:
            return registry.MarkSkipped(n.commId, seriesId, n.reason);
    }
}

}  // namespace

NumberedTerminal NumberTerminal(const CommandContext& ctx, TerminalRegistry& registry,
                                const std::string& seriesId, std::optional<int> oldId) {
    NumberedTerminal n;
    if (!oldId) {
        // Read before the reservation: a terminal that does not answer takes no ID.
        const PortProbe before = ProbePort(ctx);
        if (before.commId) {
            oldId = CAtoi(*before.commId);
        } else if (Outcome opened = OpenAndSearch(ctx, TerminalLeft::kUntouched); !opened.ok()) {
            n.write.outcome = opened;  // logged as the CommID write logs it; no ID reserved
            return n;
        } else {
            ClosePort(ctx);
        }
    }
    Result<int> reserved = registry.Reserve(seriesId, oldId);
    if (!reserved) {
        n.reserveError = reserved.error();
        return n;
    }
    n.commId = *reserved;
    const std::string idText = std::to_string(n.commId);
    ctx.form.SetText(id::kCommId, idText);
    ctx.form.SetText(id::kNextCommIdButton, idText);
    ctx.state.nextCommIdOffer = n.commId;
    const bool lowFirst = LowByteFirst(registry, oldId, n.commId);
    {
        WriteSettings settings(ctx.state, lowFirst);
        n.write = SetCommIdReportingBytes(ctx);
    }
    Judge(ctx, n, oldId, lowFirst);
    if (Status marked = Mark(registry, n, seriesId); !marked) n.unmarked = marked.error();
    if (oldId) NoteRenumbered(registry, n, *oldId);
    return n;
}

}  // namespace vk930
