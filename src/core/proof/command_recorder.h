#pragma once
// Records one command at a time for the service log: it stands between the command and the
// front end's host and link, and when the command ends turns what it saw into a record.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/proof/proof_channel.h"
#include "core/proof/recording_host.h"
#include "core/proof/recording_link.h"
#include "core/proof/service_record.h"

namespace vk930 {

// The program that records and where it writes; without a sink nothing is stored.
struct RecorderSetup {
    ServiceLogSink* sink = nullptr;
    ProofChannel* channel = nullptr;
    std::string program;
    std::string version;
    std::function<std::string(int port)> reach;  // what a COM port reaches
};

class CommandRecorder {
  public:
    CommandRecorder(Host& host, CLinkCtrl& link) : host_(host), link_(link) {}

    // What the commands are given in place of the front end's host and link.
    Host& CommandHost() { return host_; }
    CLinkCtrl& CommandLink() { return link_; }
    // Where the commands report what they learnt of the terminal.
    TerminalNotes& CommandNotes() { return link_; }

    void Setup(RecorderSetup setup) { setup_ = std::move(setup); }
    bool Recording() const { return record_.has_value(); }

    // Starts the record of a command; a record still open is finished first as interrupted.
    void Begin(const std::string& command, int comPort);
    void NoteFile(const std::string& path);
    void NoteBackup(const std::string& path);
    void NoteSeries(const std::string& seriesId);
    void NoteReservedId(const ReservedId& reserved);
    // The command was allowed to change the terminal's CommID (restore --with-id).
    void NoteWithId();
    // Bytes the recorded command has written so far.
    const WrittenBytes& Written() const { return link_.Written(); }
    const std::vector<RecordedEntry>& Entries() const { return host_.Entries(); }

    // Ends the record with the command's outcome and stores it; false when it was not stored. A
    // record that cannot be stored is said once through the channel and then forgotten: the command
    // is done.
    bool Finish(const Outcome& outcome);

  private:
    RecordingHost host_;
    RecordingLink link_;
    RecorderSetup setup_;
    std::optional<ServiceRecord> record_;
    std::chrono::steady_clock::time_point started_;
    bool failureSaid_ = false;
};

// A log entry that reports an out-of-range value or a cut text of a parameter file.
inline bool IsWarningEntry(const RecordedEntry& entry) {
    return entry.severity == EntrySeverity::kWarning;
}

}  // namespace vk930
