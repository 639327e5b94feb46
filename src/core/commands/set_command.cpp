#include "core/commands/set_command.h"

#include <filesystem>
#include <fstream>

#include "core/commands/command_steps.h"
#include "core/forms/form_ids.h"
#include "core/params/function_keys.h"
#include "core/params/parameter_file.h"
#include "core/params/validation.h"

namespace vk930 {

namespace {

constexpr int kFinishWaitMs = 50;

enum class RunOutcome { kNotConnected, kFailed, kDone };

// Why the file is no parameter file even though it can be opened (a device, a pipe, a file of
// many megabytes); empty when it is one to read.
std::string NotAParameterFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return {};  // reported as a file that cannot be opened
    if (!fs::is_regular_file(status)) return "Not a parameter file: not a regular file";
    if (fs::file_size(path, ec) > kMaxParameterFileSize)
        return "Not a parameter file: larger than 1 MiB";
    return {};
}

bool OpenForReading(const CommandContext& ctx, const std::string& path, std::ifstream& file) {
    if (const std::string why = NotAParameterFile(path); !why.empty()) {
        ctx.Log("Cannot open file for reading!", kIconFailure);
        ctx.Log(why, kIconFailure);
        return false;
    }
    file.open(path, std::ios::binary);
    if (file.is_open()) return true;
    ctx.Log("Cannot open file for reading!", kIconFailure);
    return false;
}

// The document's file, else the one the user picks; it becomes the document's.
bool OpenParameterFile(const CommandContext& ctx, std::ifstream& file) {
    std::string path = ctx.state.document.m_strFilePath;
    if (path.empty()) {
        const FileDialogAnswer answer = ctx.host.RunFileDialog({false, "pcg", "*.pcg", "", ""});
        if (!answer.ok) return false;
        path = answer.path;
    }
    // A file that cannot be opened is reported just below, once.
    (void)ctx.state.document.OnOpenDocument(path, ctx.host);
    if (!OpenForReading(ctx, path, file)) return false;
    ctx.form.SetText(id::kFilePath, ctx.state.document.m_strFilePath);
    return true;
}

// Echoes every line and applies it, up to the END line or the end of the file. A line
// without a colon carries no key and is only echoed.
bool ApplyLines(const CommandContext& ctx, std::istream& file) {
    LineReader reader(file);
    while (const std::optional<std::string> line = reader.Next()) {
        ctx.Log(*line, kIconProgress);
        const std::string key = GetKey(*line);
        if (key == kEndKey) break;
        if (HasColon(*line) && !WriteParameter(ctx, key, GetValue(*line))) return false;
    }
    return true;
}

void ReportCommunicationFailure(const CommandContext& ctx) {
    ctx.Log("Communication failure!", kIconFailure);
    ctx.Log("Operation cancelled!", kIconFailure);
}

bool WriteLinesAndKeys(const CommandContext& ctx, std::istream& file) {
    ctx.Log("Writing parameters to Device..", kIconProgress);
    if (!ApplyLines(ctx, file)) {
        ReportCommunicationFailure(ctx);
        ctx.host.Beep();
        ClosePort(ctx);
        return false;
    }
    ctx.Log("Writing function keys..!", kIconProgress);
    if (!WriteFunctionKeys(ctx)) {
        ReportCommunicationFailure(ctx);
        ClosePort(ctx);
        return false;
    }
    return true;
}

// Resets the terminal. A reset it did not confirm fails the run like a failed write: the
// values may not have been taken over, so success must not be reported.
bool ResetTerminal(const CommandContext& ctx) {
    ctx.link.ResetDevice();
    if (!ctx.link.LastCallFailed()) return true;
    ReportCommunicationFailure(ctx);
    ctx.host.Beep();
    ClosePort(ctx);
    return false;
}

// With the raw-dump flag set the run neither resets the terminal nor closes the port.
bool Finish(const CommandContext& ctx) {
    if (!ctx.state.rawDump) {
        if (!ResetTerminal(ctx)) return false;
        ctx.Log("DONE Succesfully!", kIconSuccess);
    }
    ctx.host.Sleep(kFinishWaitMs);
    ctx.state.document.m_nFileOpened = 0;
    if (!ctx.state.rawDump) ClosePort(ctx);
    return true;
}

RunOutcome ProgramFile(const CommandContext& ctx, std::istream& file) {
    if (!ctx.link.Connect(ctx.Port(), kBaudApplication)) {
        ctx.Log("Cannot open COM port " + std::to_string(ctx.state.comPort), kIconFailure);
        ctx.host.Beep();
        return RunOutcome::kNotConnected;
    }
    if (!ReadInfoAfterWait(ctx)) return RunOutcome::kFailed;
    if (!CheckDeviceType(ctx)) {
        ctx.host.Beep();
        ClosePort(ctx);
        return RunOutcome::kFailed;
    }
    ctx.Log("Device type: VK930 Hand Terminal", kIconProgress);
    if (!WriteLinesAndKeys(ctx, file) || !Finish(ctx)) return RunOutcome::kFailed;
    return RunOutcome::kDone;
}

}  // namespace

void OnSet(const CommandContext& ctx) {
    if (!ConnectAndIdentify(ctx) || !FetchBothPages(ctx)) return;
    ctx.state.rawDump = 0;
    // The port this command opened must not stay open when the run never took it over.
    if (OnSetParameters(ctx) == SetRunEnd::kPortUntouched) ClosePort(ctx);
    ctx.state.rawDump = 0;
}

SetRunEnd OnSetParameters(const CommandContext& ctx) {
    ClearFunctionKeys(ctx.state.functionKeys);
    std::ifstream file;
    const RunOutcome outcome =
        OpenParameterFile(ctx, file) ? ProgramFile(ctx, file) : RunOutcome::kNotConnected;
    if (outcome != RunOutcome::kDone) ctx.state.rawDump = 0;
    return outcome == RunOutcome::kNotConnected ? SetRunEnd::kPortUntouched
                                                : SetRunEnd::kPortHandled;
}

}  // namespace vk930
