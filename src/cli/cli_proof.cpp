#include "cli/cli_proof.h"

#include "cli/backup_commands.h"
#include "platform/json_text.h"

namespace vk930 {

// Standard error stays quiet on success, for scripts; `vk930ctl backups` and the service log
// name every backup. A JSON reader is told at once.
void CliProofChannel::BackupWritten(const std::string& path) {
    if (host_.Json()) host_.Emit(BackupEvent(path));
}

void CliProofChannel::ServiceLogWritten(const std::string& path) {
    if (host_.Json()) host_.Emit(JsonTextEvent("servicelog", "path", path));
}

void CliProofChannel::ServiceLogFailed(const std::string& reason) {
    if (host_.Json()) {
        QJsonObject event = JsonTextEvent("servicelog", "path", serviceLogPath_);
        event.insert("error", JsonText(reason));
        return host_.Emit(event);
    }
    host_.Note("cannot write the service log (the command is not stopped by it): " + reason);
}

void CliProofChannel::Refused(const std::string& text) {
    if (host_.Json()) return host_.Emit(JsonTextEvent("refused", "text", text));
    host_.NoteRefusal(text);
}

}  // namespace vk930
