// The loop of one series station and the ledger its stations share.
#include "core/commands/series_station.h"

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/commands/commid.h"
#include "core/commands/identification.h"
#include "core/commands/set_command.h"
#include "core/forms/form_ids.h"

namespace vk930 {

Result<int> SeriesLedger::Reserve() {
    std::lock_guard<std::mutex> lock(mutex_);
    return counter_.Reserve();
}

bool SeriesLedger::AlreadyWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_.count(commId) > 0;
}

void SeriesLedger::NoteWritten(int commId) {
    std::lock_guard<std::mutex> lock(mutex_);
    written_.insert(commId);
}

void SeriesLedger::Add(const SeriesRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(record);
    recorder_.Record(record);
}

std::vector<SeriesRecord> SeriesLedger::Records() {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
}

namespace {

// A terminal is looked for at most twice a second.
constexpr int kProbeIntervalMs = 500;

// The CommID of the terminal answering at the port, nullopt when none answers; the port is
// released again either way. Nothing goes to the operation log: an empty port is what a
// series expects between terminals.
std::optional<std::string> AnsweringTerminal(const CommandContext& ctx) {
    if (!ctx.link.Connect(ctx.Port(), 19200)) return std::nullopt;
    std::optional<std::string> commId;
    if (ctx.link.ReadInfo() == 1) commId = ctx.link.GetCommIdText();
    ctx.link.Connect(ctx.Port(), 0);
    return commId;
}

// Waits for a terminal; false when a stop ended the wait.
bool WaitForTerminal(const CommandContext& ctx) {
    while (!ctx.StopRequested()) {
        if (AnsweringTerminal(ctx)) return true;
        ctx.host.Sleep(kProbeIntervalMs);
    }
    return false;
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
    Station(const CommandContext& ctx, SeriesLedger& ledger, const SeriesStationOptions& options,
            const SeriesReport& report)
        : ctx_(ctx), ledger_(ledger), options_(options), report_(report) {}

    Outcome Run() {
        ctx_.state.commIdKeptByCaller = true;
        int numbered = 0;
        bool allOk = true;
        while (options_.count == 0 || numbered < options_.count) {
            report_("waiting for a terminal...");
            if (!WaitForTerminal(ctx_)) return Stopped();
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

    // One terminal at the port, from identification to "remove it". Whether it was numbered;
    // nullopt on a stop. `counted_` says whether it counts towards the station's terminals.
    std::optional<bool> HandleTerminal() {
        counted_ = false;
        lastCommId_ = AnsweringTerminal(ctx_).value_or("");
        const long long start = Now();
        SeriesRecord record;
        record.port = ctx_.state.comPort;
        record.file = options_.setFile.value_or("");
        const Outcome identified = ReadDeviceInfo(ctx_);
        if (identified.outcomeClass == OutcomeClass::kInterrupted) return std::nullopt;
        if (identified.outcomeClass == OutcomeClass::kOtherDevice) {
            report_("not a hand terminal (" + identified.detail + "): skipped, remove it");
            return false;
        }
        if (!identified.ok()) {
            report_("cannot identify the terminal (" + identified.detail + "): remove it");
            return false;
        }
        lastCommId_ = ctx_.form.Text(id::kCommId);
        const int present = CAtoi(lastCommId_);
        if (ledger_.AlreadyWritten(present)) {
            report_("terminal " + std::to_string(present) +
                    " was numbered by this series already: remove it");
            return false;
        }
        counted_ = true;
        const auto finish = [&](bool ok, std::string result) {
            record.ok = ok;
            record.result = std::move(result);
            record.durationMs = Now() - start;
            ledger_.Add(record);
            return ok;
        };
        if (options_.setFile) {
            ctx_.state.document.m_strFilePath = *options_.setFile;
            const Outcome set = OnSet(ctx_);
            if (set.outcomeClass == OutcomeClass::kInterrupted) {
                finish(false, "failed: stopped during the Set");
                return std::nullopt;
            }
            if (!set.ok()) {
                report_("the Set failed (" + set.detail + "): terminal left as it is, remove it");
                return finish(false, "failed: Set: " + set.detail);
            }
        }
        Result<int> reserved = ledger_.Reserve();
        if (!reserved) {
            outOfIds_ = reserved.error();
            report_("no ID: " + reserved.error());
            return finish(false, "failed: " + reserved.error());
        }
        record.commId = *reserved;
        const std::string idText = std::to_string(*reserved);
        ctx_.form.SetText(id::kCommId, idText);
        ctx_.form.SetText(id::kNextCommIdButton, idText);
        const Outcome written = SetCommId(ctx_);
        const bool readBack = written.ok() && CAtoi(ctx_.form.Text(id::kCommId)) == *reserved;
        lastCommId_ = AnsweringTerminal(ctx_).value_or("");
        ledger_.NoteWritten(*reserved);  // its bytes may be in the terminal, whatever failed
        record.verified = readBack;
        if (written.outcomeClass == OutcomeClass::kInterrupted) {
            report_("ID " + idText + " skipped: stopped during its write");
            finish(false, "skipped: stopped during the write");
            return std::nullopt;
        }
        if (!written.ok()) {
            report_("ID " + idText + " skipped: " + written.detail +
                    "; terminal left as it is, remove it");
            return finish(false, "skipped: " + written.detail);
        }
        if (!readBack) {
            report_("terminal reads back " + ctx_.form.Text(id::kCommId) + ", not " + idText +
                    ": remove it");
            return finish(false, "failed: reads back " + ctx_.form.Text(id::kCommId));
        }
        ctx_.host.Beep();
        report_("terminal " + idText + " done: remove it");
        return finish(true, "done");
    }

    const CommandContext& ctx_;
    SeriesLedger& ledger_;
    const SeriesStationOptions& options_;
    const SeriesReport& report_;
    bool counted_ = false;
    std::string lastCommId_;  // what the terminal at the port last said its ID was
    std::optional<std::string> outOfIds_;
};

}  // namespace

Outcome RunSeriesStation(const CommandContext& ctx, SeriesLedger& ledger,
                         const SeriesStationOptions& options, const SeriesReport& report) {
    return Station(ctx, ledger, options, report).Run();
}

}  // namespace vk930
