// The loop of one series station and the ledger its stations share.
#include "core/series/series_station.h"

#include "core/commands/command_steps.h"
#include "core/commands/commid.h"
#include "core/commands/identification.h"
#include "core/commands/set_command.h"
#include "core/proof/guarded_set.h"
#include "core/registry/numbering.h"
#include "core/settings/id_counter.h"

namespace vk930 {

const char* ToString(SeriesFate fate) {
    switch (fate) {
        case SeriesFate::kDone:
            return "done";
        case SeriesFate::kFailed:
            return "failed";
        case SeriesFate::kSkipped:
            return "skipped";
    }
    return "failed";
}

std::optional<std::string> SeriesLedger::RecordsBroken() {
    std::lock_guard<std::mutex> lock(mutex_);
    return recordsBroken_;
}

void SeriesLedger::NoteUnrecorded(const std::string& why, const std::string& fate) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!recordsBroken_) recordsBroken_ = why;
    if (unrecorded_) unrecorded_(fate);
}

Status SeriesLedger::StartAt(int first, bool force) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.StartAt(first, force);
}

Result<int> SeriesLedger::Reserve(const std::string& seriesId, std::optional<int> oldId) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (recordsBroken_)
        return Error{"no record can be stored (" + *recordsBroken_ +
                     "), so no further ID is handed out"};
    Result<int> reserved = registry_.Reserve(seriesId, oldId);
    if (reserved && *reserved >= kMaxCommId) lastIdHandedOut_ = true;
    return reserved;
}

Status SeriesLedger::MarkWritten(int commId, const std::string& seriesId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.MarkWritten(commId, seriesId);
}

Status SeriesLedger::MarkSkipped(int commId, const std::string& seriesId,
                                 const std::string& reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.MarkSkipped(commId, seriesId, reason);
}

Status SeriesLedger::MarkMayCarry(int commId, const std::string& seriesId,
                                  const std::string& reason, const std::vector<int>& possible) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.MarkMayCarry(commId, seriesId, reason, possible);
}

Result<std::optional<JournalEntry>> SeriesLedger::RecordedFate(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.RecordedFate(commId);
}

Result<FoundRecords> SeriesLedger::Find(const RecordQuery& query) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.Find(query);
}

Result<RegistrySummary> SeriesLedger::Summarize() {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.Summarize();
}

std::optional<std::string> SeriesLedger::NoIdLeft() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!lastIdHandedOut_) return std::nullopt;
    return "CommID " + std::to_string(kMaxCommId) +
           " was the last ID a terminal can carry: no ID is left for another terminal, the "
           "series ends here";
}

void SeriesLedger::NoteWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    written_.insert(commId);
}

bool SeriesLedger::AlreadyWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_.count(commId) > 0;
}

void SeriesLedger::Add(const SeriesRecord& record) {
    std::lock_guard<std::mutex> lock(recordsMutex_);
    records_.push_back(record);
}

std::vector<SeriesRecord> SeriesLedger::Records() {
    std::lock_guard<std::mutex> lock(recordsMutex_);
    return records_;
}

Status SeriesLedger::Append(const ServiceRecord& record) {
    Status stored;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stored = registry_.Append(record);
    }
    if (!stored && record.reservedId) {
        const ReservedId& id = *record.reservedId;
        const std::string state =
            id.written ? "written" : (id.mayCarry ? "may be carried" : "skipped");
        NoteUnrecorded("the record of ID " + std::to_string(id.commId) + ": " + stored.error(),
                       "ID " + std::to_string(id.commId) + " " + state + " (COM" +
                           std::to_string(record.comPort) + ", series " + record.seriesId +
                           (id.skipReason.empty() ? "" : ": " + id.skipReason) +
                           "); its record is not stored: " + stored.error());
    }
    return stored;
}

namespace {

// A terminal is looked for at most twice a second.
constexpr int kProbeIntervalMs = 500;
// A port that has not opened for this many probes in a row (5 s) is gone (its adapter was
// unplugged, its device vanished): waiting on would never end.
constexpr int kPortGoneProbes = 10;

// The CommID of the terminal answering at the port, nullopt when none answers.
std::optional<std::string> AnsweringTerminal(const CommandContext& ctx) {
    return ProbePort(ctx).commId;
}

enum class WaitEnd { kTerminal, kStopped, kPortGone };

// Waits for a terminal, until a stop or until the port stays shut.
WaitEnd WaitForTerminal(const CommandContext& ctx) {
    int shut = 0;
    while (!ctx.StopRequested()) {
        const PortProbe probe = ProbePort(ctx);
        if (probe.commId) return WaitEnd::kTerminal;
        shut = probe.opened ? 0 : shut + 1;
        if (shut >= kPortGoneProbes) return WaitEnd::kPortGone;
        ctx.host.Sleep(kProbeIntervalMs);
    }
    return WaitEnd::kStopped;
}

// Waits until the terminal that carried `commId` is gone: nothing answers, or a terminal with
// another ID does (one swapped faster than the probes); false when a stop ended the wait.
bool WaitForRemoval(const CommandContext& ctx, const std::string& commId) {
    while (!ctx.StopRequested()) {
        const std::optional<std::string> present = AnsweringTerminal(ctx);
        if (!present || *present != commId) return true;
        ctx.host.Sleep(kProbeIntervalMs);
    }
    return false;
}

class Station {
  public:
    Station(CVK900ConfigView& view, SeriesLedger& ledger, const SeriesStationOptions& options,
            const SeriesReport& report)
        : view_(view),
          ctx_(view.Context()),
          recorder_(view.Recorder()),
          ledger_(ledger),
          options_(options),
          report_(report) {}

    Outcome Run() {
        ctx_.state.commIdKeptByCaller = true;
        int numbered = 0;
        bool allOk = true;
        while (options_.count == 0 || numbered < options_.count) {
            if (const std::optional<std::string> noId = ledger_.NoIdLeft()) {
                report_(*noId);
                return Outcome::Failure(OutcomeClass::kRefused, *noId);
            }
            if (std::optional<Outcome> broken = RecordsBroken()) return *broken;
            report_("waiting for a terminal...");
            Tell(StationStep::kWaiting);
            const WaitEnd waited = WaitForTerminal(ctx_);
            if (waited == WaitEnd::kStopped) return Stopped();
            if (waited == WaitEnd::kPortGone) return PortGone();
            const std::optional<bool> handled = HandleTerminal();
            if (!handled) return Stopped();
            if (outOfIds_) return Outcome::Failure(OutcomeClass::kRefused, outOfIds_.value());
            if (counted_) {
                ++numbered;
                allOk = allOk && *handled;
            }
            if (std::optional<Outcome> broken = RecordsBroken()) return *broken;
            if (!WaitForRemoval(ctx_, lastCommId_)) return Stopped();
            Tell(StationStep::kRemoved);
        }
        if (!allOk) return Outcome::Failure(OutcomeClass::kCommunication, "a terminal failed");
        return Outcome::Success();
    }

  private:
    long long Now() const { return options_.clockMs ? options_.clockMs() : 0; }
    void Tell(StationStep step, int commId = -1, std::string why = {}, long long durationMs = 0) {
        if (options_.events)
            options_.events({ctx_.state.comPort, step, commId, durationMs, std::move(why)});
    }
    Outcome Stopped() {
        report_("series stopped");
        return Outcome::Failure(OutcomeClass::kInterrupted, "a stop was requested");
    }
    Outcome PortGone() {
        const std::string port = "COM" + std::to_string(ctx_.state.comPort);
        report_(port + " does not open any more: this station stops; check the port's cable or " +
                "adapter and number its remaining terminals in a new series");
        return Outcome::Failure(OutcomeClass::kPortNotOpened, port + " does not open");
    }
    // No record, no next ID: a series whose records are not stored stops before reserving.
    std::optional<Outcome> RecordsBroken() {
        const std::optional<std::string> why = ledger_.RecordsBroken();
        if (!why) return std::nullopt;
        const std::string said = "records cannot be stored (" + *why +
                                 "): the series stops before handing out another ID";
        report_(said);
        return Outcome::Failure(OutcomeClass::kFile, said);
    }

    // Ends the terminal's record: its line in the summary and its service record.
    bool Finish(SeriesFate fate, std::string result, const Outcome& outcome) {
        summary_.fate = fate;
        summary_.result = std::move(result);
        summary_.durationMs = Now() - start_;
        ledger_.Add(summary_);
        recorder_.Finish(outcome);
        const std::string said = std::string(ToString(fate)) + ": ";
        Tell(fate == SeriesFate::kDone     ? StationStep::kDone
             : fate == SeriesFate::kFailed ? StationStep::kFailed
                                           : StationStep::kSkipped,
             summary_.commId,
             summary_.result.rfind(said, 0) == 0 ? summary_.result.substr(said.size()) : "",
             summary_.durationMs);
        return fate == SeriesFate::kDone;
    }
    bool Failed(std::string result, const Outcome& outcome) {
        return Finish(SeriesFate::kFailed, "failed: " + std::move(result), outcome);
    }

    // A terminal carrying an ID this bench handed out is not numbered again. One whose
    // reservation was left open (a run killed between the write and the record) is this run's
    // to finish: the ID read back from it resolves the reservation. nullopt: not such a one.
    std::optional<bool> AlreadyNumbered(int present) {
        if (ledger_.AlreadyWritten(present)) {
            const std::string why =
                "terminal " + std::to_string(present) + " was numbered by this series already";
            report_(why + ": remove it");
            recorder_.Finish(Outcome::Failure(OutcomeClass::kRefused, why));
            Tell(StationStep::kSkipped, present, why);
            return false;
        }
        Result<std::optional<JournalEntry>> fate = ledger_.RecordedFate(present);
        if (!fate) {
            outOfIds_ = "cannot read what " + ledger_.Where() + " recorded: " + fate.error();
            report_(*outOfIds_);
            recorder_.Finish(Outcome::Failure(OutcomeClass::kRefused, *outOfIds_));
            Tell(StationStep::kFailed, present, *outOfIds_);
            return false;
        }
        if (!fate->has_value()) return std::nullopt;
        const JournalEntry& entry = **fate;
        const std::string idText = std::to_string(present);
        if (entry.state == IdState::kWritten) {
            const std::string why = "terminal " + idText + " was numbered on this bench already";
            report_(why + ": not numbered again, remove it");
            recorder_.Finish(Outcome::Failure(OutcomeClass::kRefused, why));
            Tell(StationStep::kSkipped, present, why);
            return false;
        }
        counted_ = true;
        summary_.commId = present;
        summary_.verified = true;
        ledger_.NoteWritten(present);
        recorder_.NoteReservedId({present, true, "", false, {}});
        if (Status marked = ledger_.MarkWritten(present, entry.seriesId); !marked)
            report_("ID " + idText + " is not marked written in " + ledger_.Where() + ": " +
                    marked.error());
        report_("terminal " + idText + " carries the ID reserved for it (" + ToString(entry.state) +
                "): recorded as written, not numbered again: remove it");
        return Finish(SeriesFate::kDone, "done: it carried its reserved ID already",
                      Outcome::Success());
    }

    // One terminal at the port, from identification to "remove it". Whether it was numbered;
    // nullopt on a stop. `counted_` says whether it counts towards the station's terminals.
    std::optional<bool> HandleTerminal() {
        counted_ = false;
        lastCommId_ = AnsweringTerminal(ctx_).value_or("");
        start_ = Now();
        summary_ = SeriesRecord{};
        summary_.port = ctx_.state.comPort;
        summary_.file = options_.setFile.value_or("");
        recorder_.Begin("series", ctx_.state.comPort);
        recorder_.NoteSeries(ledger_.SeriesId());
        if (options_.setFile) recorder_.NoteFile(*options_.setFile);

        const Identification identification = ReadDeviceInfo(ctx_);
        const Outcome& identified = identification.outcome;
        if (identified.outcomeClass == OutcomeClass::kInterrupted) {
            recorder_.Finish(identified);
            return std::nullopt;
        }
        if (!identified.ok()) {
            const std::string why =
                identified.outcomeClass == OutcomeClass::kOtherDevice
                    ? "not a hand terminal (" + identified.detail + ")"
                    : "cannot identify the terminal (" + identified.detail + ")";
            report_(why + (identified.outcomeClass == OutcomeClass::kOtherDevice
                               ? ": skipped, remove it"
                               : ": remove it"));
            recorder_.Finish(identified);
            Tell(StationStep::kSkipped, -1, why);
            return false;
        }
        lastCommId_ = identification.identity->commIdText;
        const int present = identification.identity->commId;
        if (const std::optional<bool> numbered = AlreadyNumbered(present)) return numbered;
        counted_ = true;

        bool setVerified = true;
        if (options_.setFile) {
            ctx_.state.document.m_strFilePath = *options_.setFile;
            ProofOptions proof = view_.Proof();
            proof.verifyAfterSet = options_.verify;
            proof.expectedCommId.reset();
            proof.verifying = [this] { Tell(StationStep::kVerifying); };
            Tell(StationStep::kProgramming);
            const Outcome set = GuardedSet(ctx_, proof, recorder_, view_.Channel());
            if (set.outcomeClass == OutcomeClass::kInterrupted) {
                Failed("stopped during the Set", set);
                return std::nullopt;
            }
            if (!set.ok()) {
                report_("the Set failed (" + set.detail + "): terminal left as it is, remove it");
                return Failed("Set: " + set.detail, set);
            }
            setVerified = options_.verify;
        }
        if (ledger_.RecordsBroken()) {
            Failed("no ID: records cannot be stored",
                   Outcome::Failure(OutcomeClass::kFile, "records cannot be stored"));
            return false;
        }
        Tell(StationStep::kNumbering);
        return Number(present, setVerified);
    }

    // Reserves, writes and records the terminal's ID; says what became of it.
    std::optional<bool> Number(int present, bool setVerified) {
        const NumberedTerminal n = NumberTerminal(ctx_, ledger_, ledger_.SeriesId(), present);
        if (n.commId < 0) {
            const std::string why =
                n.reserveError.empty() ? n.write.outcome.detail : n.reserveError;
            if (!n.reserveError.empty()) outOfIds_ = why;
            report_("no ID: " + why);
            return Failed(why, Outcome::Failure(OutcomeClass::kRefused, why));
        }
        const int commId = n.commId;
        const std::string idText = std::to_string(commId);
        summary_.commId = commId;
        summary_.verified = n.Written() && setVerified;
        if (n.write.writeStarted) ledger_.NoteWritten(commId);
        // The terminal that was numbered is the one to wait for; another answering is a swap.
        lastCommId_ = n.readBack && *n.readBack != commId ? std::string() : idText;
        if (!n.Written() && n.readBack && !n.write.bytesAcknowledged)
            lastCommId_ = std::to_string(*n.readBack);
        recorder_.NoteReservedId(
            {commId, n.Written(), n.reason, n.fate == IdState::kMayCarry, n.possible});
        // The terminal's record carries the fate too; only when that cannot be stored either
        // does the series stop (SeriesLedger::Append).
        if (!n.unmarked.empty())
            report_("ID " + idText + " is not marked " + ToString(n.fate) + " in " +
                    ledger_.Where() + ": " + n.unmarked);
        if (n.write.outcome.outcomeClass == OutcomeClass::kInterrupted) {
            report_("ID " + idText + " skipped: " + n.reason);
            Finish(SeriesFate::kSkipped, "skipped: " + n.reason, n.write.outcome);
            return std::nullopt;
        }
        if (!n.Written()) {
            report_("ID " + idText + " skipped: " + n.reason +
                    "; terminal left as it is, remove it");
            const Outcome outcome = n.write.outcome.ok()
                                        ? Outcome::Failure(OutcomeClass::kCommunication, n.reason)
                                        : n.write.outcome;
            return Finish(SeriesFate::kSkipped, "skipped: " + n.reason, outcome);
        }
        ctx_.host.Beep();
        report_("terminal " + idText + " done: remove it");
        return Finish(SeriesFate::kDone, "done", Outcome::Success());
    }

    CVK900ConfigView& view_;
    const CommandContext& ctx_;
    CommandRecorder& recorder_;
    SeriesLedger& ledger_;
    const SeriesStationOptions& options_;
    const SeriesReport& report_;
    bool counted_ = false;
    std::string lastCommId_;  // the ID of the terminal whose removal is awaited
    std::optional<std::string> outOfIds_;
    SeriesRecord summary_;
    long long start_ = 0;
};

}  // namespace

Outcome RunSeriesStation(CVK900ConfigView& view, SeriesLedger& ledger,
                         const SeriesStationOptions& options, const SeriesReport& report) {
    return Station(view, ledger, options, report).Run();
}

}  // namespace vk930
