#include "core/commands/set_command.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "core/base/bounded_file.h"
#include "core/commands/command_steps.h"
#include "core/commands/function_keys.h"
#include "core/commands/validation.h"
#include "core/forms/form_ids.h"
#include "core/params/parameter_file.h"

namespace vk930 {

namespace {

constexpr int kFinishWaitMs = 50;

Outcome FileFailure(std::string why) {
    return Outcome::Failure(OutcomeClass::kFile, std::move(why));
}

Outcome CommunicationFailure(std::string what) {
    return Outcome::Failure(OutcomeClass::kCommunication, std::move(what));
}

// The whole file, read before the port is opened for the run. A device, a pipe or a file of
// many megabytes is no parameter file: the log says so and nothing of it is read.
Outcome ReadForSet(const CommandContext& ctx, const std::string& path, std::string& text) {
    BoundedFile read = ReadBoundedFile(path, kMaxParameterFileSize);
    if (read.problem == FileReadProblem::kNone) {
        text = std::move(read.bytes);
        return Outcome::Success();
    }
    ctx.Log("Cannot open file for reading!", kIconFailure);
    // A missing file is said as the system says it, like any other that does not open.
    const std::string why = read.problem == FileReadProblem::kMissing
                                ? std::strerror(ENOENT)
                                : Describe(read, kMaxParameterFileSize);
    if (read.problem == FileReadProblem::kNotRegular || read.problem == FileReadProblem::kTooLarge)
        ctx.Log("Not a parameter file: " + why, kIconFailure);
    return FileFailure("'" + path + "': " + why);
}

// The document's file, else the one the user picks; it becomes the document's.
Outcome OpenParameterFile(const CommandContext& ctx, std::string& text) {
    std::string path = ctx.state.document.m_strFilePath;
    if (path.empty()) {
        const FileDialogAnswer answer = ctx.host.RunFileDialog({false, "pcg", "*.pcg", "", ""});
        if (!answer.ok)
            return Outcome::Failure(OutcomeClass::kCancelled, "no parameter file was chosen");
        path = answer.path;
    }
    // A file that cannot be opened is reported just below, once.
    (void)ctx.state.document.OnOpenDocument(path, ctx.host);
    if (Outcome opened = ReadForSet(ctx, path, text); !opened.ok()) return opened;
    ctx.form.SetText(id::kFilePath, ctx.state.document.m_strFilePath);
    return Outcome::Success();
}

// Echoes every line and applies it, up to the END line or the end of the file. A line
// without a colon carries no key and is only echoed. A stop is honoured between lines.
Outcome ApplyLines(const CommandContext& ctx, std::istream& file) {
    LineReader reader(file);
    TerminalLeft left = TerminalLeft::kUntouched;
    std::size_t applied = 0;
    while (const std::optional<std::string> line = reader.Next()) {
        if (Outcome stopped = StopPoint(ctx, left); !stopped.ok()) return stopped;
        ctx.Log(*line, kIconProgress);
        const std::string key = GetKey(*line);
        if (key == kEndKey) break;
        if (HasColon(*line)) {
            left = TerminalLeft::kPartlyProgrammed;
            if (!WriteParameter(ctx, key, GetValue(*line)))
                return CommunicationFailure("the " + key + " line was not written");
        }
        ctx.host.Progress({ProgressKind::kLines, ++applied, 0});
    }
    return Outcome::Success();
}

void ReportCommunicationFailure(const CommandContext& ctx) {
    ctx.Log("Communication failure!", kIconFailure);
    ctx.Log("Operation cancelled!", kIconFailure);
}

Outcome WriteLinesAndKeys(const CommandContext& ctx, std::istream& file) {
    ctx.Log("Writing parameters to Device..", kIconProgress);
    if (Outcome applied = ApplyLines(ctx, file); !applied.ok()) {
        if (applied.outcomeClass == OutcomeClass::kInterrupted) return applied;
        ReportCommunicationFailure(ctx);
        ctx.host.Beep();
        ClosePort(ctx);
        return applied;
    }
    if (const std::optional<std::string> held = HeldCommIdWarning(ctx)) ctx.Warn(*held);
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kPartlyProgrammed); !stopped.ok())
        return stopped;
    ctx.Log("Writing function keys..!", kIconProgress);
    if (!WriteFunctionKeys(ctx)) {
        ReportCommunicationFailure(ctx);
        ClosePort(ctx);
        return CommunicationFailure("the function keys were not written");
    }
    return Outcome::Success();
}

// Resets the terminal. A reset it did not confirm fails the run like a failed write: the
// values may not have been taken over, so success must not be reported.
Outcome ResetTerminal(const CommandContext& ctx) {
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kPartlyProgrammed); !stopped.ok())
        return stopped;
    ctx.link.ResetDevice();
    if (!ctx.link.LastCallFailed()) return Outcome::Success();
    ReportCommunicationFailure(ctx);
    ctx.host.Beep();
    ClosePort(ctx);
    return CommunicationFailure("the reset was not confirmed");
}

// With the raw-dump flag set the run neither resets the terminal nor closes the port.
Outcome Finish(const CommandContext& ctx) {
    if (!ctx.state.rawDump) {
        if (Outcome reset = ResetTerminal(ctx); !reset.ok()) return reset;
        ctx.Log("DONE Succesfully!", kIconSuccess);
    }
    ctx.host.Sleep(kFinishWaitMs);
    ctx.state.document.m_nFileOpened = 0;
    if (!ctx.state.rawDump) ClosePort(ctx);
    return Outcome::Success();
}

Outcome ProgramFile(const CommandContext& ctx, std::istream& file) {
    if (Outcome identified = ReadInfoAfterWait(ctx); !identified.ok()) return identified;
    if (Outcome type = CheckDeviceType(ctx); !type.ok()) {
        ctx.host.Beep();
        ClosePort(ctx);
        return type;
    }
    ctx.Log("Device type: VK930 Hand Terminal", kIconProgress);
    if (Outcome written = WriteLinesAndKeys(ctx, file); !written.ok()) return written;
    return Finish(ctx);
}

// The run after its file is open: its own Connect, then the programming.
SetRun ConnectAndProgram(const CommandContext& ctx, std::istream& file) {
    if (!ctx.link.Connect(ctx.Port(), kBaudApplication)) {
        ctx.Log("Cannot open COM port " + std::to_string(ctx.state.comPort), kIconFailure);
        ctx.host.Beep();
        return {Outcome::Failure(OutcomeClass::kPortNotOpened,
                                 "COM" + std::to_string(ctx.state.comPort) + " did not open"),
                SetRunEnd::kPortUntouched};
    }
    return {ProgramFile(ctx, file), SetRunEnd::kPortHandled};
}

}  // namespace

Outcome OnSet(const CommandContext& ctx, const BeforeSetRun& beforeRun) {
    if (Outcome identified = ConnectAndIdentify(ctx); !identified.ok()) return identified;
    if (Outcome fetched = FetchBothPages(ctx); !fetched.ok()) return fetched;
    if (beforeRun)
        if (Outcome ready = beforeRun(ctx); !ready.ok()) return ready;
    ctx.state.rawDump = 0;
    const SetRun run = OnSetParameters(ctx);
    // The port this command opened must not stay open when the run never took it over.
    if (run.end == SetRunEnd::kPortUntouched) ClosePort(ctx);
    ctx.state.rawDump = 0;
    return run.outcome;
}

SetRun OnSetParameters(const CommandContext& ctx) {
    ClearFunctionKeys(ctx.state.functionKeys);
    ctx.state.commIdHold.high.reset();
    ctx.state.commIdHold.low.reset();
    std::string text;
    Outcome opened = OpenParameterFile(ctx, text);
    std::istringstream file(text);
    const SetRun run =
        opened.ok() ? ConnectAndProgram(ctx, file) : SetRun{opened, SetRunEnd::kPortUntouched};
    if (!run.outcome.ok()) ctx.state.rawDump = 0;
    return run;
}

}  // namespace vk930
