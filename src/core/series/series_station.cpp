// The loop of one series station and the ledger its stations share.
#include "core/series/series_station.h"

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/commands/commid.h"
#include "core/commands/identification.h"
#include "core/commands/set_command.h"
#include "core/forms/form_ids.h"
#include "core/proof/guarded_set.h"
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

Result<int> SeriesLedger::Reserve() {
    std::lock_guard<std::mutex> lock(mutex_);
    Result<int> reserved = registry_.Reserve(seriesId_);
    if (reserved && *reserved >= kMaxCommId) lastIdHandedOut_ = true;
    return reserved;
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

Status SeriesLedger::MarkWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.MarkWritten(commId, seriesId_);
}

Status SeriesLedger::MarkSkipped(int commId, const std::string& reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.MarkSkipped(commId, seriesId_, reason);
}

bool SeriesLedger::AlreadyWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_.count(commId) > 0;
}

void SeriesLedger::Add(const SeriesRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(record);
}

std::vector<SeriesRecord> SeriesLedger::Records() {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
}

Status SeriesLedger::Append(const ServiceRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    return registry_.Append(record);
}

namespace {

// A terminal is looked for at most twice a second.
constexpr int kProbeIntervalMs = 500;
// A port that has not opened for this many probes in a row (5 s) is gone (its adapter was
// unplugged, its device vanished): waiting on would never end.
constexpr int kPortGoneProbes = 10;

// What a probe of the port found.
struct PortProbe {
    bool opened = false;
    std::optional<std::string> commId;  // of the terminal that answered; nullopt: none did
};

// Looks at the port once; the port is released again either way. Nothing goes to the
// operation log: an empty port is what a series expects between terminals.
PortProbe ProbePort(const CommandContext& ctx) {
    PortProbe probe;
    if (!ctx.link.Connect(ctx.Port(), 19200)) return probe;
    probe.opened = true;
    if (ctx.link.ReadInfo() == 1) probe.commId = ctx.link.GetCommIdText();
    ctx.link.Connect(ctx.Port(), 0);
    return probe;
}

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

// The reason recorded for a skipped ID whose bytes the terminal acknowledged: the ID is never
// handed out again, and the technician learns that this terminal may carry it all the same.
std::string MayCarry(const std::string& cause) {
    return "not confirmed: " + cause + "; the terminal may carry this ID";
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
            report_("waiting for a terminal...");
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
            if (!WaitForRemoval(ctx_, lastCommId_)) return Stopped();
        }
        if (!allOk) return Outcome::Failure(OutcomeClass::kCommunication, "a terminal failed");
        return Outcome::Success();
    }

  private:
    long long Now() const { return options_.clockMs ? options_.clockMs() : 0; }
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

    // Ends the terminal's record: its line in the summary and its service record.
    bool Finish(SeriesFate fate, std::string result, const Outcome& outcome) {
        summary_.fate = fate;
        summary_.result = std::move(result);
        summary_.durationMs = Now() - start_;
        ledger_.Add(summary_);
        recorder_.Finish(outcome);
        return fate == SeriesFate::kDone;
    }
    bool Failed(std::string result, const Outcome& outcome) {
        return Finish(SeriesFate::kFailed, "failed: " + std::move(result), outcome);
    }

    // A reserved ID that did not end up in the terminal: never handed out again, and the
    // registry and the record say why, so the gap in the series' numbers is explained.
    bool Skip(int commId, const std::string& reason, const Outcome& outcome) {
        recorder_.NoteReservedId({commId, false, reason});
        if (Status marked = ledger_.MarkSkipped(commId, reason); !marked)
            report_("ID " + std::to_string(commId) + " is not marked skipped in " +
                    ledger_.Where() + ": " + marked.error());
        return Finish(SeriesFate::kSkipped, "skipped: " + reason, outcome);
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

        const Outcome identified = ReadDeviceInfo(ctx_);
        if (identified.outcomeClass == OutcomeClass::kInterrupted) {
            recorder_.Finish(identified);
            return std::nullopt;
        }
        if (!identified.ok()) {
            report_(identified.outcomeClass == OutcomeClass::kOtherDevice
                        ? "not a hand terminal (" + identified.detail + "): skipped, remove it"
                        : "cannot identify the terminal (" + identified.detail + "): remove it");
            recorder_.Finish(identified);
            return false;
        }
        lastCommId_ = ctx_.form.Text(id::kCommId);
        const int present = CAtoi(lastCommId_);
        if (ledger_.AlreadyWritten(present)) {
            const std::string why =
                "terminal " + std::to_string(present) + " was numbered by this series already";
            report_(why + ": remove it");
            recorder_.Finish(Outcome::Failure(OutcomeClass::kRefused, why));
            return false;
        }
        counted_ = true;

        bool setVerified = true;
        if (options_.setFile) {
            ctx_.state.document.m_strFilePath = *options_.setFile;
            ProofOptions proof = view_.Proof();
            proof.verifyAfterSet = options_.verify;
            proof.expectedCommId.reset();
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

        Result<int> reserved = ledger_.Reserve();
        if (!reserved) {
            outOfIds_ = reserved.error();
            report_("no ID: " + reserved.error());
            return Failed(reserved.error(),
                          Outcome::Failure(OutcomeClass::kRefused, reserved.error()));
        }
        const int commId = *reserved;
        summary_.commId = commId;
        const std::string idText = std::to_string(commId);
        ctx_.form.SetText(id::kCommId, idText);
        ctx_.form.SetText(id::kNextCommIdButton, idText);
        const CommIdWrite write = SetCommIdReportingBytes(ctx_);
        const Outcome& written = write.outcome;
        const bool readBack = written.ok() && CAtoi(ctx_.form.Text(id::kCommId)) == commId;
        ledger_.NoteWritten(commId);
        lastCommId_ = AnsweringTerminal(ctx_).value_or("");
        summary_.verified = readBack && setVerified;

        if (written.outcomeClass == OutcomeClass::kInterrupted) {
            const std::string why = write.bytesAcknowledged
                                        ? MayCarry("a stop came after its bytes were written")
                                        : "stopped during its write";
            report_("ID " + idText + " skipped: " + why);
            Skip(commId, why, written);
            return std::nullopt;
        }
        if (!written.ok()) {
            const std::string why =
                write.bytesAcknowledged ? MayCarry(written.detail) : written.detail;
            report_("ID " + idText + " skipped: " + why + "; terminal left as it is, remove it");
            return Skip(commId, why, written);
        }
        if (!readBack) {
            const std::string why = "the terminal reads back " + ctx_.form.Text(id::kCommId);
            report_("ID " + idText + " skipped: " + why + ": remove it");
            return Skip(commId, why, Outcome::Failure(OutcomeClass::kCommunication, why));
        }
        recorder_.NoteReservedId({commId, true, ""});
        if (Status marked = ledger_.MarkWritten(commId); !marked)
            report_("ID " + idText + " is not marked written in " + ledger_.Where() + ": " +
                    marked.error());
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
    std::string lastCommId_;  // what the terminal at the port last said its ID was
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
