#include "core/commands/commid.h"

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/commands/identification.h"
#include "core/forms/form_ids.h"
#include "core/params/page_encoding.h"
#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

constexpr int kPageCommId = 0;
constexpr int kOffsetCommIdHigh = 1;  // the low byte follows it
constexpr int kCommIdRestartMs = 4000;
constexpr size_t kNextCaptionMaxChars = 9;

void RememberCommId(const CommandContext& ctx, std::int32_t commId) {
    CRegistryKey key(ctx.settings, ctx.host);
    key.WriteValue(kValueCommId, commId);
    key.Close();
}

// Resets the terminal and shows what it reports after its restart. A reset it did not confirm
// is a failure: identifying it anyway could report "Done" for a terminal that never restarted.
Outcome RestartAndIdentify(const CommandContext& ctx) {
    ctx.link.ResetDevice();
    if (ctx.link.LastCallFailed()) {
        ctx.Log("Connection Failure", kIconFailure);
        ctx.host.Beep();
        return Outcome::Failure(OutcomeClass::kCommunication, "the reset was not confirmed");
    }
    ctx.Log("commID written successful. Resetting...", kIconProgress);
    ctx.host.Progress({ProgressKind::kWait, 0, kCommIdRestartMs});
    ctx.host.Sleep(kCommIdRestartMs);
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kPartlyProgrammed); !stopped.ok())
        return stopped;
    return IdentifyTerminal(ctx, TerminalLeft::kPartlyProgrammed);
}

}  // namespace

std::string NextCommIdCaption(const std::string& editText) {
    return std::to_string(std::int64_t{CAtoi(editText)} + 1);
}

void OnCommIdChange(const CommandContext& ctx) {
    ctx.form.Show(id::kNextCommIdButton, true);
    ctx.form.Show(id::kNextCommIdLabel, true);
    const std::string& text = ctx.form.Text(id::kCommId);
    ctx.form.SetText(id::kNextCommIdButton, NextCommIdCaption(text));
    const bool offer = !text.empty();
    ctx.form.Show(id::kNextCommIdButton, offer);
    ctx.form.Show(id::kNextCommIdLabel, offer);
}

Outcome SetCommId(const CommandContext& ctx) {
    const std::int32_t commId = CAtoi(ctx.form.Text(id::kCommId));
    if (Outcome opened = OpenAndSearch(ctx, TerminalLeft::kUntouched); !opened.ok()) return opened;
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return stopped;
    // Both bytes are checked (high first, the low one only after it): a failed high byte
    // would leave a wrong ID behind.
    if (!WriteTwoByteValue(ctx.link, kPageCommId, kOffsetCommIdHigh, commId & 0xFFFF)) {
        ctx.Log("Cannot write ID!", kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        return Outcome::Failure(OutcomeClass::kCommunication, "the ID was not written");
    }
    const Outcome identified = RestartAndIdentify(ctx);
    // The ID is in the terminal: it is remembered whatever follows, so that the next ID
    // offered is never one already given out.
    RememberCommId(ctx, commId);
    ClosePort(ctx);
    return identified;
}

Outcome NextCommId(const CommandContext& ctx) {
    const std::string caption =
        ctx.form.Text(id::kNextCommIdButton).substr(0, kNextCaptionMaxChars);
    ctx.form.SetText(id::kCommId, caption);
    return SetCommId(ctx);
}

}  // namespace vk930
