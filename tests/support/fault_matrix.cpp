#include "support/fault_matrix.h"

#include <algorithm>
#include <numeric>

#include "core/link/link_ctrl.h"
#include "support/matrix_run.h"

namespace vk930::test {

namespace {

using std::chrono::milliseconds;

// Long enough for an answer from a simulator on a busy machine; a late one only costs a repeat.
constexpr milliseconds kFastTurnaround{150};
constexpr milliseconds kFastBootReady{600};
constexpr milliseconds kFastBootSync{150};
constexpr milliseconds kFastBootStep{200};

std::string Ms(milliseconds time) {
    return std::to_string(time.count()) + " ms";
}

bool LoggedSuccess(const RunRecord& run) {
    return std::any_of(run.log.begin(), run.log.end(), IsSuccessEntry);
}

// The outcome and the log agree: a success entry exactly when the outcome is success.
bool OutcomeMatchesLog(const RunRecord& run) {
    return run.outcome.ok() == LoggedSuccess(run);
}

// Every byte of the pages is as it was, or as the healthy run left it.
bool OnlyIntendedBytes(const RunRecord& healthy, const RunRecord& run) {
    const std::string& before = run.pagesBefore;
    const std::string& after = run.pagesAfter;
    if (after.size() != before.size() || healthy.pagesAfter.size() != before.size()) return false;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i] && after[i] != healthy.pagesAfter[i]) return false;
    return true;
}

bool FolderWithin(const std::vector<std::string>& folder, const std::vector<std::string>& healthy) {
    return std::includes(healthy.begin(), healthy.end(), folder.begin(), folder.end());
}

// A fault the link absorbs leaves exactly what a healthy run leaves.
void CheckSameAsHealthy(const RunRecord& healthy, const RunRecord& run,
                        std::vector<std::string>& broken) {
    if (run.log != healthy.log) broken.push_back("the log differs from a healthy run's");
    if (run.calls != healthy.calls) broken.push_back("the link calls differ from a healthy run's");
    if (run.fields != healthy.fields)
        broken.push_back("the form fields differ from a healthy run's");
    if (run.pagesAfter != healthy.pagesAfter)
        broken.push_back("the pages differ from a healthy run's");
    if (run.parameterFile != healthy.parameterFile)
        broken.push_back("the parameter file differs from a healthy run's");
    if (run.firmware != healthy.firmware)
        broken.push_back("the firmware differs from a healthy run's");
    if (run.folder != healthy.folder) broken.push_back("the folder differs from a healthy run's");
}

// A fault the link cannot absorb fails the command without success and without harm.
void CheckFailedCleanly(const RunRecord& healthy, const RunRecord& run,
                        std::vector<std::string>& broken) {
    if (LoggedSuccess(run)) broken.push_back("success was logged");
    if (!OnlyIntendedBytes(healthy, run))
        broken.push_back("a byte the command never writes changed");
    if (run.parameterFile != run.parameterFileBefore)
        broken.push_back("the parameter file was changed");
    if (run.firmware != "|") broken.push_back("firmware was installed");
    if (!FolderWithin(run.folder, healthy.folder)) broken.push_back("a stray file was left");
}

std::vector<std::string> CheckCase(const RunRecord& healthy, const RunRecord& run, bool absorbed,
                                   milliseconds bound) {
    std::vector<std::string> broken;
    if (!LoggedSuccess(healthy)) broken.push_back("the healthy run did not succeed");
    if (!OutcomeMatchesLog(run))
        broken.push_back(std::string("the outcome (") + ToString(run.outcome.outcomeClass) +
                         ") disagrees with the log");
    if (run.time > bound) broken.push_back("took " + Ms(run.time) + ", bound " + Ms(bound));
    if (!run.laterCommandWorks) broken.push_back("a later command on a healthy terminal failed");
    if (absorbed)
        CheckSameAsHealthy(healthy, run, broken);
    else
        CheckFailedCleanly(healthy, run, broken);
    return broken;
}

}  // namespace

const std::vector<WireFaultKind>& AllWireFaults() {
    static const std::vector<WireFaultKind> kAll = {WireFaultKind::kJunk, WireFaultKind::kCorrupt,
                                                    WireFaultKind::kDrop, WireFaultKind::kStall,
                                                    WireFaultKind::kHangup};
    return kAll;
}

std::string FaultName(WireFaultKind fault) {
    switch (fault) {
        case WireFaultKind::kJunk:
            return "junk";
        case WireFaultKind::kCorrupt:
            return "corrupt";
        case WireFaultKind::kDrop:
            return "drop";
        case WireFaultKind::kStall:
            return "stall";
        case WireFaultKind::kHangup:
            return "hangup";
    }
    return "?";
}

std::string FaultOption(WireFaultKind fault, int at) {
    if (fault == WireFaultKind::kJunk) return "junk";
    return FaultName(fault) + "=" + std::to_string(at);
}

bool Absorbed(WireFaultKind fault) {
    return fault == WireFaultKind::kJunk || fault == WireFaultKind::kCorrupt ||
           fault == WireFaultKind::kDrop;
}

WireTimings FastMatrixTimings() {
    WireTimings timings;
    timings.turnaround = kFastTurnaround;
    timings.lineBytes = 0;  // no pacing: an answer is on the pseudo-terminal at once
    timings.boot.ready = kFastBootReady;
    timings.boot.sync = kFastBootSync;
    timings.boot.erase = kFastBootStep;
    timings.boot.verify = kFastBootStep;
    return timings;
}

MatrixOptions DefaultMatrixOptions() {
    return {FastMatrixTimings(), VK930SIM_PATH, VK930_BOOT_DIR, VK930_FIRMWARE_FILE};
}

std::string CaseResult::Describe() const {
    std::string text = CommandName(command) + " " + FaultOption(fault, at) + ": " + Ms(time);
    for (const std::string& why : broken) text += "; " + why;
    return text;
}

const RunRecord& FaultMatrix::Healthy(MatrixCommand command) {
    auto found = healthy_.find(command);
    if (found == healthy_.end())
        found = healthy_.emplace(command, RecordRun(options_, command, "")).first;
    return found->second;
}

std::vector<int> FaultMatrix::Positions(MatrixCommand command, WireFaultKind fault) {
    if (fault == WireFaultKind::kJunk) return {0};
    std::vector<int> positions(static_cast<std::size_t>(Healthy(command).requests));
    std::iota(positions.begin(), positions.end(), 1);
    return positions;
}

milliseconds FaultMatrix::Bound(MatrixCommand command) {
    const WireTimings& t = options_.timings;
    const milliseconds perRequest = t.attempts * t.AnswerTimeout(CommandBaud(command));
    milliseconds bound = Healthy(command).requests * perRequest + kMatrixSlack;
    if (command == MatrixCommand::kFirmware)
        bound += t.boot.ready + t.boot.syncAttempts * t.boot.sync +
                 t.attempts * (t.boot.erase + t.boot.verify);
    return bound;
}

CaseResult FaultMatrix::Run(MatrixCommand command, WireFaultKind fault, int at) {
    CaseResult result;
    result.command = command;
    result.fault = fault;
    result.at = at;
    const RunRecord& healthy = Healthy(command);
    result.bound = Bound(command);
    const RunRecord run = RecordRun(options_, command, FaultOption(fault, at));
    result.time = run.time;
    result.broken = CheckCase(healthy, run, Absorbed(fault), result.bound);
    return result;
}

}  // namespace vk930::test
