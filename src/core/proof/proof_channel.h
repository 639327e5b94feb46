#pragma once
// How the checks around the commands (backups, restore, verification, the service log) speak
// to the user besides the operation log, whose entries stay those of the commands themselves.
// The command-line tool writes to standard error (or its JSON stream), the window to its link
// control area and boxes. Every method defaults to doing nothing.
#include <string>

namespace vk930 {

class ProofChannel {
  public:
    virtual ~ProofChannel() = default;
    // A backup of the terminal's pages was written to `path` before a Set.
    virtual void BackupWritten(const std::string& path) { (void)path; }
    // A record went to the service log at `path`.
    virtual void ServiceLogWritten(const std::string& path) { (void)path; }
    // The service log could not be written; said once per program run.
    virtual void ServiceLogFailed(const std::string& reason) { (void)reason; }
    // Why a command refused to go on (restore onto another terminal, ...).
    virtual void Refused(const std::string& text) { (void)text; }
    // What the technician is to know that is no failure of the command: the next-ID counter
    // found below the IDs this bench handed out (and moved up), records waiting for a shared
    // registry.
    virtual void Notice(const std::string& text) { (void)text; }
};

}  // namespace vk930
