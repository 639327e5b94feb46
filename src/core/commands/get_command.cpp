#include "core/commands/get_command.h"

#include "core/commands/command_steps.h"
#include "core/forms/form_ids.h"
#include "core/params/parameter_file.h"
#include "core/params/replacing_file.h"

namespace vk930 {

namespace {

constexpr size_t kMinPathLength = 5;

// Shows the dialog and takes its answer: the port and the path stay chosen whatever follows.
bool TakeDialogAnswer(const CommandContext& ctx) {
    const GetParamsDialogAnswer answer =
        ctx.host.RunGetParamsDialog(ctx.state.comPort - 1, ctx.state.document.m_strFilePath);
    if (!answer.ok) {
        ctx.Log("Operation canceled by the user!", kIconFailure);
        ctx.host.Beep();
        return false;
    }
    ctx.state.comPort = answer.portIndex + 1;
    ctx.state.document.m_strFilePath = answer.path;
    ctx.form.SetText(id::kFilePath, answer.path);
    if (answer.portIndex < 0) {
        ctx.host.MessageBox("Select COM port!", "Can't open COM port");
        ctx.Log("COM port failure", kIconFailure);
        return false;
    }
    if (answer.path.size() < kMinPathLength) {
        ctx.host.MessageBox("Define the path and file name for saved data", "Cannot start reading");
        ctx.Log("Bad file name!", kIconFailure);
        return false;
    }
    return true;
}

void FailAndRelease(const CommandContext& ctx, const std::string& text) {
    ctx.Log(text, kIconFailure);
    ClosePort(ctx);
    ctx.host.Beep();
}

// Writes the chosen form, END included, and puts the file in its target's place.
bool WriteAndCommit(const CommandContext& ctx, ReplacingFile& file) {
    LinkPageSource pages(ctx.link);
    const LineSink sink = [&file](const std::string& line) { return file.Write(line); };
    const bool written =
        ctx.state.rawDump ? WriteRawForm(pages, sink) : WriteKeyedForm(pages, sink);
    return written && file.Commit().ok();
}

}  // namespace

void OnGet(const CommandContext& ctx) {
    ctx.state.rawDump = 1;
    OnGetParameters(ctx);
}

void OnGetParameters(const CommandContext& ctx) {
    if (!TakeDialogAnswer(ctx) || !ConnectAndIdentify(ctx)) return;
    ctx.Log("Device type: VK930 Hand Terminal", kIconProgress);
    const std::string path = ctx.state.document.m_strFilePath;
    ReplacingFile file;
    if (!file.Open(path)) return FailAndRelease(ctx, "Cannot open file");
    if (!FetchBothPages(ctx)) return;
    ctx.Log("Writing HS parameters to file...", kIconProgress);
    if (!WriteAndCommit(ctx, file)) return FailAndRelease(ctx, "Cannot write file");
    ctx.state.rawDump = 0;  // a raw dump, if it was one, is complete
    ctx.Log("DONE Succesfully!", kIconSuccess);
    ClosePort(ctx);
    // The file was just written; should it vanish meanwhile the document keeps the path.
    (void)ctx.state.document.OnOpenDocument(path, ctx.host);
}

}  // namespace vk930
