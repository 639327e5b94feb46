#include "cli/cli_proof.h"

namespace vk930 {

// Standard error stays quiet on success, for scripts; `vk930ctl backups` and the service log
// name every backup.
void CliProofChannel::BackupWritten(const std::string& path) {
    (void)path;
}

void CliProofChannel::ServiceLogFailed(const std::string& reason) {
    host_.Note("cannot write the service log (the command is not stopped by it): " + reason);
}

void CliProofChannel::Refused(const std::string& text) {
    host_.Note("refused: " + text);
}

}  // namespace vk930
