#pragma once
// "FirmWare update...": the firmware dialog, the port opened for the boot loader, and the
// upload that the form timer starts once the dialog has gone from the screen.
#include <string>
#include <vector>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"

namespace vk930 {

inline constexpr int kFirmwareDialogPauseMs = 500;
inline constexpr int kUploadTimerMs = 100;

struct UploadLogEntry {
    std::string text;
    int kind;
    bool operator==(const UploadLogEntry&) const = default;
};

// The log entries an upload status produces, in order; a status without a meaning gives one
// entry with empty text.
std::vector<UploadLogEntry> UploadStatusEntries(Short status);

// How an upload status ends the command; `problem` is the link's reason for a refused file.
Outcome UploadOutcome(Short status, const std::string& problem);

// Shows the firmware dialog. Confirmed: after a pause, opens the port at 4800, remembers the
// file, logs "Uploading...", returns to the start directory and leaves the upload pending
// for the form timer (100 ms). Cancelled: logs it and beeps; the link is not touched.
Outcome OnFirmwareUpdate(const CommandContext& ctx);

// The pending upload, run from the form timer: UploadFirmware, the request is cleared, the
// port released with Connect(0, 4800), and the status logged. The outcome carries the link's
// reason when a file was refused.
Outcome RunFirmwareUpload(const CommandContext& ctx);

}  // namespace vk930
