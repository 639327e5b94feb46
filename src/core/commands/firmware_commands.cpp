#include "core/commands/firmware_commands.h"

#include "core/commands/command_steps.h"

namespace vk930 {

std::vector<UploadLogEntry> UploadStatusEntries(Short status) {
    switch (status) {
        case kUploadBootFileBad:
            return {{"Can't open boot file", kIconFailure}};
        case kUploadFirmwareFileBad:
            return {{"Can't open FW file", kIconFailure}};
        case kUploadNoZero:
            return {{"No response from device: Waiting 00", kIconFailure}};
        case kUploadNoAA:
            return {{"No response from device: Waiting AA", kIconFailure}};
        case kUploadStage1Failed:
            return {{"Boot load error: <first>", kIconFailure}};
        case kUploadStage2Failed:
            return {{"Boot load error: <second>", kIconFailure}};
        case kUploadStage3Failed:
            return {{"Boot load error: <third>", kIconFailure}};
        case kUploadVerifyFailed:
            return {{"Flash verification fail!", kIconFailure}};
        case kUploadSucceeded:
            return {{"UPLOADING DONE", kIconSuccess},
                    {"REMOVE BOOT CABLE FROM DEVICE", kIconProgress},
                    {"REMOVE BATTERIES AND PUT THEM BACK AGAIN", kIconProgress}};
        default:
            return {{"", kIconFailure}};
    }
}

Outcome UploadOutcome(Short status, const std::string& problem) {
    const auto failure = [](OutcomeClass c, const std::string& what) {
        return Outcome::Failure(c, what);
    };
    switch (status) {
        case kUploadSucceeded:
            return Outcome::Success();
        case kUploadBootFileBad:
            return failure(OutcomeClass::kFile, problem.empty() ? "the boot file" : problem);
        case kUploadFirmwareFileBad:
            return failure(OutcomeClass::kFile, problem.empty() ? "the firmware file" : problem);
        case kUploadNoZero:
        case kUploadNoAA:
            return failure(OutcomeClass::kNoTerminal, "no boot loader answered");
        case kUploadStage1Failed:
            return failure(OutcomeClass::kCommunication, "the boot file was not taken");
        case kUploadStage2Failed:
            return failure(OutcomeClass::kCommunication, "the flash was not erased");
        case kUploadStage3Failed:
            return failure(OutcomeClass::kCommunication, "an image block was not taken");
        case kUploadVerifyFailed:
            return failure(OutcomeClass::kCommunication, "the flash verification failed");
        default:
            return failure(OutcomeClass::kCommunication, "upload status " + std::to_string(status));
    }
}

Outcome OnFirmwareUpdate(const CommandContext& ctx) {
    const FirmwareDialogAnswer answer = ctx.host.RunFirmwareDialog();
    if (!answer.ok) {
        ctx.Log("Operation canceled by the user!", kIconFailure, EntrySeverity::kCancellation);
        ctx.host.Beep();
        return Outcome::Failure(OutcomeClass::kCancelled, "the dialog was cancelled");
    }
    // Give the terminal, just powered up in its boot loader, time before the port opens.
    ctx.host.Sleep(kFirmwareDialogPauseMs);
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kInBootLoader); !stopped.ok())
        return stopped;
    ctx.link.Connect(ctx.Port(), kBaudBootLoader);
    ctx.state.firmwareFile = answer.file;
    ctx.Log("Uploading...", kIconProgress);
    // The boot file is looked for in the working directory, which the file dialog may
    // have moved.
    ctx.host.SetCurrentDirectory(ctx.state.startDir);
    ctx.state.uploadPending = 1;
    // The blocking upload starts once the dialog has gone and the form has been repainted.
    ctx.host.StartFormTimer(kUploadTimerMs);
    return Outcome::Success();
}

Outcome RunFirmwareUpload(const CommandContext& ctx) {
    // A stop before the upload leaves the terminal waiting in its boot loader. Once started,
    // the upload is one link call: it runs to its end.
    if (ctx.StopRequested()) {
        ctx.state.uploadPending = 0;
        return Interrupt(ctx, TerminalLeft::kInBootLoader);
    }
    const Short status = ctx.link.UploadFirmware(ctx.state.firmwareFile);
    const std::string problem = ctx.link.LastUploadProblem();
    ctx.state.uploadPending = 0;
    ctx.link.Connect(0, kBaudBootLoader);
    for (const UploadLogEntry& entry : UploadStatusEntries(status)) ctx.Log(entry.text, entry.kind);
    return UploadOutcome(status, problem);
}

}  // namespace vk930
