#pragma once
// What vk930ctl says of backups, restores and the service log, on standard error (the
// operation log on standard output stays that of the commands), or as events with --json.
#include <string>

#include "cli/terminal_host.h"
#include "core/proof/proof_channel.h"
#include "core/proof/service_record.h"

namespace vk930 {

class CliProofChannel : public ProofChannel {
  public:
    CliProofChannel(TerminalHost& host, std::string serviceLogPath)
        : host_(host), serviceLogPath_(std::move(serviceLogPath)) {}
    void BackupWritten(const std::string& path) override;
    void ServiceLogWritten(const std::string& path) override;
    void ServiceLogFailed(const std::string& reason) override;
    void Refused(const std::string& text) override;

  private:
    TerminalHost& host_;
    std::string serviceLogPath_;
};

}  // namespace vk930
