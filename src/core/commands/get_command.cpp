#include "core/commands/get_command.h"

#include "core/commands/command_steps.h"
#include "core/forms/form_ids.h"
#include "core/params/parameter_file.h"
#include "core/params/replacing_file.h"

namespace vk930 {

namespace {

constexpr size_t kMinPathLength = 5;

// Shows the dialog and takes its answer: the port and the path stay chosen whatever follows.
Outcome TakeDialogAnswer(const CommandContext& ctx) {
    const GetParamsDialogAnswer answer =
        ctx.host.RunGetParamsDialog(ctx.state.comPort - 1, ctx.state.document.m_strFilePath);
    if (!answer.ok) {
        ctx.Log("Operation canceled by the user!", kIconFailure, EntrySeverity::kCancellation);
        ctx.host.Beep();
        return Outcome::Failure(OutcomeClass::kCancelled, "the dialog was cancelled");
    }
    ctx.state.comPort = answer.portIndex + 1;
    ctx.state.document.m_strFilePath = answer.path;
    ctx.form.SetText(id::kFilePath, answer.path);
    if (answer.portIndex < 0) {
        ctx.host.MessageBox("Select COM port!", "Can't open COM port");
        ctx.Log("COM port failure", kIconFailure);
        return Outcome::Failure(OutcomeClass::kRefused, "no COM port selected");
    }
    if (answer.path.size() < kMinPathLength) {
        ctx.host.MessageBox("Define the path and file name for saved data", "Cannot start reading");
        ctx.Log("Bad file name!", kIconFailure);
        return Outcome::Failure(OutcomeClass::kRefused,
                                "the file name is shorter than 5 characters");
    }
    return Outcome::Success();
}

Outcome FailAndRelease(const CommandContext& ctx, const std::string& text, Outcome outcome) {
    ctx.Log(text, kIconFailure);
    ClosePort(ctx);
    ctx.host.Beep();
    return outcome;
}

// Writes the chosen form, END included, and puts the file in its target's place.
Status WriteAndCommit(const CommandContext& ctx, ReplacingFile& file) {
    LinkPageSource pages(ctx.link);
    const LineSink sink = [&file](const std::string& line) { return file.Write(line); };
    const bool written =
        ctx.state.rawDump ? WriteRawForm(pages, sink) : WriteKeyedForm(pages, sink);
    // A failed write names its reason at the commit.
    Status committed = file.Commit();
    if (!written && committed) return Error{"the file was not written in full"};
    return committed;
}

Outcome GetAfterDialog(const CommandContext& ctx) {
    if (Outcome identified = ConnectAndIdentify(ctx); !identified.ok()) return identified;
    ctx.Log("Device type: VK930 Hand Terminal", kIconProgress);
    const std::string path = ctx.state.document.m_strFilePath;
    ReplacingFile file;
    if (Status opened = file.Open(path); !opened)
        return FailAndRelease(ctx, "Cannot open file",
                              Outcome::Failure(OutcomeClass::kFile, opened.error()));
    // A stop from here on leaves no file: the temporary one goes with `file`.
    if (Outcome fetched = FetchBothPages(ctx); !fetched.ok()) return fetched;
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return stopped;
    ctx.Log("Writing HS parameters to file...", kIconProgress);
    if (Status written = WriteAndCommit(ctx, file); !written)
        return FailAndRelease(ctx, "Cannot write file",
                              Outcome::Failure(OutcomeClass::kFile, written.error()));
    ctx.state.rawDump = 0;  // a raw dump, if it was one, is complete
    ctx.Log("DONE Succesfully!", kIconSuccess);
    ClosePort(ctx);
    // The file was just written; should it vanish meanwhile the document keeps the path.
    (void)ctx.state.document.OnOpenDocument(path, ctx.host);
    return Outcome::Success();
}

}  // namespace

Outcome OnGet(const CommandContext& ctx) {
    ctx.state.rawDump = 1;
    return OnGetParameters(ctx);
}

Outcome OnGetParameters(const CommandContext& ctx) {
    if (Outcome answered = TakeDialogAnswer(ctx); !answered.ok()) return answered;
    return GetAfterDialog(ctx);
}

}  // namespace vk930
