// The logic of the "Number a series" dialog.
#include "core/app/series_dialog.h"

#include <cctype>

#include "core/settings/id_counter.h"

namespace vk930 {

namespace {

// A whole number typed into a field, nullopt for anything else (blanks around it allowed).
std::optional<long> TypedNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.size() > 9) return std::nullopt;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return std::stol(digits);
}

std::string StepText(const StationEvent& e) {
    switch (e.step) {
        case StationStep::kWaiting:
            return "waiting for a terminal";
        case StationStep::kProgramming:
            return "programming";
        case StationStep::kVerifying:
            return "verifying";
        case StationStep::kNumbering:
            return "numbering";
        case StationStep::kDone:
            return "done: remove it";
        case StationStep::kRemoved:
            return "done";
        case StationStep::kFailed:
            return "failed: " + e.why;
        case StationStep::kSkipped:
            return "skipped: " + e.why;
        case StationStep::kEnded:
            return e.why.empty() ? "station finished" : "station stopped: " + e.why;
    }
    return {};
}

bool Final(StationStep step) {
    return step == StationStep::kDone || step == StationStep::kRemoved ||
           step == StationStep::kFailed || step == StationStep::kSkipped ||
           step == StationStep::kEnded;
}

}  // namespace

Result<SeriesPlan> PlanOf(const SeriesChoices& c,
                          const std::function<bool(const std::string& path)>& fileExists) {
    SeriesPlan plan;
    if (!c.nextId) {
        const std::optional<long> first = TypedNumber(c.firstId);
        if (!first || *first > kMaxCommId)
            return Error{"Type the first ID as a number from 0 to " + std::to_string(kMaxCommId) +
                         ", or tick \"Start at the next ID after the stored one\"."};
        plan.firstId = static_cast<int>(*first);
    }
    if (!c.untilStopped) {
        const std::optional<long> count = TypedNumber(c.count);
        if (!count || *count < 1)
            return Error{
                "Type how many terminals each station numbers (1 or more), or tick "
                "\"or until stopped\"."};
        plan.count = static_cast<int>(*count);
    }
    if (c.setFile.find_first_not_of(' ') != std::string::npos) {
        if (fileExists && !fileExists(c.setFile))
            return Error{"The parameter file '" + c.setFile +
                         "' does not exist: choose one with Browse..., or empty the field to "
                         "number the terminals without a Set."};
        plan.setFile = c.setFile;
    }
    plan.verify = c.verify;
    for (int port = 1; port <= kPortCount; ++port)
        if (c.ports[static_cast<std::size_t>(port - 1)]) plan.ports.push_back(port);
    if (plan.ports.empty()) return Error{"Tick the COM port of at least one station."};
    return plan;
}

SeriesDialog::SeriesDialog(SeriesDialogParts parts, SeriesDialogView& view)
    : parts_(std::move(parts)), view_(view) {}

SeriesDialog::~SeriesDialog() = default;

std::string SeriesDialog::RegistryText() {
    if (!parts_.registry) return "No ID can be handed out: " + parts_.registryProblem;
    std::string text = parts_.sharedRegistry.empty()
                           ? "IDs from this bench's counter, records to " + parts_.registry->Path()
                           : "IDs and records: the shared registry " + parts_.sharedRegistry;
    if (Result<RegistrySummary> summary = parts_.registry->Summarize(); summary && summary->nextId)
        text += " (next ID " + std::to_string(*summary->nextId) + ")";
    return text;
}

void SeriesDialog::Open() {
    SeriesChoices choices;
    if (parts_.currentPort >= 1 && parts_.currentPort <= kPortCount)
        choices.ports[static_cast<std::size_t>(parts_.currentPort - 1)] = true;
    choices.count = "1";
    view_.ShowChoices(choices);
    view_.ShowRegistry(RegistryText());
    ShowTotals();
    view_.ShowRunning(false, false);
}

void SeriesDialog::OnBrowse(SeriesChoices choices) {
    if (running_) return;
    const std::optional<std::string> file = view_.AskParameterFile();
    if (!file) return;
    choices.setFile = *file;
    view_.ShowChoices(choices);
}

void SeriesDialog::OnStart(const SeriesChoices& choices) {
    if (running_) return;
    if (!parts_.registry) return view_.Tell(RegistryText());
    Result<SeriesPlan> planned = PlanOf(choices, parts_.fileExists);
    if (!planned) return view_.Tell(planned.error());
    const SeriesPlan plan = *planned;
    if (parts_.runner->Running())
        return view_.Tell("Another command is running: start the series once it has ended.");
    if (plan.firstId)
        if (Status started = parts_.registry->StartAt(*plan.firstId); !started)
            return view_.Tell("The series cannot start at ID " + std::to_string(*plan.firstId) +
                              ": " + started.error());
    ledger_ = std::make_unique<SeriesLedger>(
        *parts_.registry, parts_.newSeriesId(),
        [this](const std::string& fate) { parts_.post([this, fate] { view_.Tell(fate); }); });
    SeriesStationOptions options;
    options.count = plan.count;
    options.setFile = plan.setFile;
    options.verify = plan.verify;
    options.clockMs = parts_.kit.clockMs ? parts_.kit.clockMs : SteadyClockMs;
    job_ = std::make_unique<SeriesJob>(*ledger_, options, [this](const StationEvent& event) {
        parts_.post([this, event] { OnEvent(event); });
    });
    rows_.clear();
    openRow_.clear();
    ends_.clear();
    view_.ShowRegistry(RegistryText());
    running_ = true;
    stopping_ = false;
    view_.ShowRunning(true, false);
    ShowTotals();
    const bool started = parts_.runner->Start(
        [this, plan] {
            std::vector<std::unique_ptr<HostedStation>> stations;
            std::vector<StationParts*> running;
            for (int port : plan.ports) {
                stations.push_back(std::make_unique<HostedStation>(
                    port, plan.ports.size() > 1, parts_.kit, *ledger_, parts_.registry,
                    parts_.sharedRegistry));
                running.push_back(stations.back().get());
            }
            std::unique_ptr<StationThreads> threads = parts_.makeThreads();
            ends_ = job_->Run(running, *threads);
        },
        [this] { OnEnded(); });
    if (!started) {
        running_ = false;
        view_.ShowRunning(false, false);
        view_.Tell("Another command is running: start the series once it has ended.");
    }
}

bool SeriesDialog::AskStop() {
    if (stopping_) return true;
    if (!view_.Ask("Stop the series? Each station stops after its current step: a terminal "
                   "being programmed or numbered is finished or left with its ID recorded as "
                   "skipped, and the dialog then says what the series leaves."))
        return false;
    stopping_ = true;
    job_->Stop();
    view_.ShowRunning(true, true);
    return true;
}

void SeriesDialog::OnStop() {
    if (running_) AskStop();
}

bool SeriesDialog::OnClose() {
    if (!running_) return true;
    if (AskStop()) closeWhenEnded_ = true;
    return false;
}

void SeriesDialog::OnEvent(const StationEvent& event) {
    auto open = openRow_.find(event.port);
    const bool newRow = open == openRow_.end() ||
                        (Final(rows_[open->second].step) && event.step != StationStep::kRemoved);
    if (newRow) {
        // A station that ends while it waits ends on its waiting row.
        if (event.step == StationStep::kRemoved) return;
        rows_.push_back({event.port, event.step, {}, {}, {}, false});
        open = openRow_.insert_or_assign(event.port, rows_.size() - 1).first;
    }
    SeriesRow& row = rows_[open->second];
    if (event.step == StationStep::kRemoved && row.step != StationStep::kDone) return;
    row.step = event.step;
    row.state = StepText(event);
    row.removeIt = event.step == StationStep::kDone;
    if (event.commId >= 0) row.commId = std::to_string(event.commId);
    if (event.durationMs > 0) row.time = SecondsText(event.durationMs);
    Show(open->second);
    ShowTotals();
}

void SeriesDialog::Show(std::size_t index) {
    view_.ShowRow(index, rows_[index]);
}

void SeriesDialog::ShowTotals() {
    totals_ = TotalsLine(TotalsOf(ledger_ ? ledger_->Records() : std::vector<SeriesRecord>{}));
    view_.ShowTotals(totals_);
}

void SeriesDialog::OnEnded() {
    running_ = false;
    const bool stopped = stopping_;
    stopping_ = false;
    ShowTotals();
    view_.ShowRunning(false, false);
    const std::vector<SeriesRecord> records = ledger_->Records();
    const Outcome outcome = SeriesOutcome(ends_, records);
    if (!outcome.ok() && !closeWhenEnded_) view_.Tell(WhatSeriesLeft(ends_, records, stopped));
    if (closeWhenEnded_) view_.Close();
}

std::string WhatSeriesLeft(const std::vector<StationEnd>& ends,
                           const std::vector<SeriesRecord>& records, bool stopped) {
    const SeriesTotals totals = TotalsOf(records);
    std::string text = stopped ? "The series stopped. " : "The series ended. ";
    text += TotalsLine(totals) + ".";
    for (const SeriesRecord& r : records)
        if (r.fate == SeriesFate::kSkipped && r.commId >= 0)
            text += "\nID " + std::to_string(r.commId) + " (COM" + std::to_string(r.port) +
                    ") was reserved and not written: " + r.result +
                    "; it is recorded and never handed out again.";
    for (const StationEnd& end : ends)
        if (!end.outcome.ok())
            text += "\nCOM" + std::to_string(end.port) + ": " +
                    (end.outcome.outcomeClass == OutcomeClass::kInterrupted
                         ? std::string("stopped after its current step")
                         : end.outcome.detail);
    return text;
}

}  // namespace vk930
