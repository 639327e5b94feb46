#include "core/proof/command_recorder.h"

#include <algorithm>

#include "core/commands/host.h"
#include "core/proof/masked_secrets.h"

namespace vk930 {

void CommandRecorder::Begin(const std::string& command, int comPort) {
    if (record_) Finish(Outcome::Failure(OutcomeClass::kInterrupted, "another command began"));
    ServiceRecord record;
    record.time = std::chrono::system_clock::now();
    record.program = setup_.program;
    record.version = setup_.version;
    record.command = command;
    record.comPort = comPort;
    if (setup_.reach) record.reach = setup_.reach(comPort);
    record_ = std::move(record);
    started_ = std::chrono::steady_clock::now();
    host_.Start();
    link_.Reset();
}

void CommandRecorder::NoteFile(const std::string& path) {
    if (record_) record_->file = path;
}

void CommandRecorder::NoteBackup(const std::string& path) {
    if (record_) record_->backup = path;
}

void CommandRecorder::NoteSeries(const std::string& seriesId) {
    if (record_) record_->seriesId = seriesId;
}

void CommandRecorder::NoteWithId() {
    if (record_) record_->withId = true;
}

void CommandRecorder::NoteReservedId(const ReservedId& reserved) {
    if (record_) record_->reservedId = reserved;
}

bool CommandRecorder::Finish(const Outcome& outcome) {
    if (!record_) return false;
    host_.Stop();
    ServiceRecord record = std::move(*record_);
    record_.reset();
    record.identity = link_.Identity();
    record.outcome = outcome.outcomeClass;
    record.detail = outcome.detail;
    record.entries = host_.Entries();
    for (RecordedEntry& entry : record.entries) entry.text = RecordedText(entry.text);
    record.warnings = static_cast<int>(
        std::count_if(record.entries.begin(), record.entries.end(), IsWarningEntry));
    record.durationMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started_)
                            .count();
    if (!setup_.sink) return false;
    const Status stored = setup_.sink->Append(record);
    if (stored.ok()) {
        if (setup_.channel) setup_.channel->ServiceLogWritten(setup_.sink->Path());
        return true;
    }
    if (!failureSaid_) {
        failureSaid_ = true;
        if (setup_.channel) setup_.channel->ServiceLogFailed(stored.error());
    }
    return false;
}

}  // namespace vk930
