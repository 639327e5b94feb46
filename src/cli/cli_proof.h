#pragma once
// What vk930ctl says of backups, restores and the service log, on standard error (the
// operation log on standard output stays that of the commands), and the record of a command
// that runs without the terminal.
#include <string>

#include "cli/terminal_host.h"
#include "core/proof/proof_channel.h"
#include "core/proof/service_record.h"

namespace vk930 {

class CliProofChannel : public ProofChannel {
  public:
    explicit CliProofChannel(TerminalHost& host) : host_(host) {}
    void BackupWritten(const std::string& path) override;
    void ServiceLogFailed(const std::string& reason) override;
    void Refused(const std::string& text) override;

  private:
    TerminalHost& host_;
};

}  // namespace vk930
