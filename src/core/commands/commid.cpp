#include "core/commands/commid.h"

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/commands/identification.h"
#include "core/forms/form_ids.h"
#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

constexpr Short kOffsetCommIdHigh = 1;
constexpr Short kOffsetCommIdLow = 2;
constexpr int kCommIdRestartMs = 4000;
constexpr size_t kNextCaptionMaxChars = 9;

bool WriteSucceeded(Short result) {
    return result != 0 && result != kWriteByteFailed;
}

void RememberCommId(const CommandContext& ctx, std::int32_t commId) {
    CRegistryKey key(ctx.settings, ctx.host);
    key.WriteValue(kValueCommId, commId);
    key.Close();
}

// Resets the terminal and shows what it reports after its restart. A reset it did not confirm
// is a failure: identifying it anyway could report "Done" for a terminal that never restarted.
void RestartAndIdentify(const CommandContext& ctx) {
    ctx.link.ResetDevice();
    if (ctx.link.LastCallFailed()) {
        ctx.Log("Connection Failure", kIconFailure);
        ctx.host.Beep();
        return;
    }
    ctx.Log("commID written successful. Resetting...", kIconProgress);
    ctx.host.Sleep(kCommIdRestartMs);
    ReadDeviceInfo(ctx);
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

void SetCommId(const CommandContext& ctx) {
    const std::int32_t commId = CAtoi(ctx.form.Text(id::kCommId));
    if (!OpenPortOrReport(ctx)) return;
    ctx.Log("Open COM" + std::to_string(ctx.state.comPort), kIconProgress);
    ctx.Log("Searching VK930 device..", kIconProgress);
    if (!CheckReadInfo(ctx)) return;
    ctx.Log("Reading Info OK", kIconProgress);
    const Short high = static_cast<Short>((commId >> 8) & 0xFF);
    const Short low = static_cast<Short>(commId & 0xFF);
    // A failed high byte would leave a wrong ID behind: both writes are checked.
    const bool highWritten = WriteSucceeded(ctx.link.WriteByte(kOffsetCommIdHigh, high, 0));
    if (!highWritten || !WriteSucceeded(ctx.link.WriteByte(kOffsetCommIdLow, low, 0))) {
        ctx.Log("Cannot write ID!", kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        return;
    }
    RestartAndIdentify(ctx);
    // The ID is in the terminal: it is remembered whatever follows, so that the next ID
    // offered is never one already given out.
    RememberCommId(ctx, commId);
    ClosePort(ctx);
}

void NextCommId(const CommandContext& ctx) {
    const std::string caption =
        ctx.form.Text(id::kNextCommIdButton).substr(0, kNextCaptionMaxChars);
    ctx.form.SetText(id::kCommId, caption);
    SetCommId(ctx);
}

}  // namespace vk930
