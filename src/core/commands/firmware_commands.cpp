#include "core/commands/firmware_commands.h"

#include "core/firmware/boot_loader.h"

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

void OnFirmwareUpdate(const CommandContext& ctx) {
    const FirmwareDialogAnswer answer = ctx.host.RunFirmwareDialog();
    if (!answer.ok) {
        ctx.Log("Operation canceled by the user!", kIconFailure);
        ctx.host.Beep();
        return;
    }
    // Give the terminal, just powered up in its boot loader, time before the port opens.
    ctx.host.Sleep(kFirmwareDialogPauseMs);
    ctx.link.Connect(ctx.Port(), kBaudBootLoader);
    ctx.state.firmwareFile = answer.file;
    ctx.Log("Uploading...", kIconProgress);
    // The boot file is looked for in the working directory, which the file dialog may
    // have moved.
    ctx.host.SetCurrentDirectory(ctx.state.startDir);
    ctx.state.uploadPending = 1;
    // The blocking upload starts once the dialog has gone and the form has been repainted.
    ctx.host.StartFormTimer(kUploadTimerMs);
}

void RunFirmwareUpload(const CommandContext& ctx) {
    const Short status = ctx.link.UploadFirmware(ctx.state.firmwareFile);
    ctx.state.uploadPending = 0;
    ctx.link.Connect(0, kBaudBootLoader);
    for (const UploadLogEntry& entry : UploadStatusEntries(status)) ctx.Log(entry.text, entry.kind);
}

}  // namespace vk930
