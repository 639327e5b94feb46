#include "core/commands/commid.h"

#include <optional>

#include "core/base/c_convert.h"
#include "core/commands/command_steps.h"
#include "core/commands/identification.h"
#include "core/forms/form_ids.h"
#include "core/params/page_encoding.h"
#include "core/settings/registry_key.h"

namespace vk930 {

namespace {

constexpr int kCommIdRestartMs = 4000;

// How the written ID is recorded: a typed one through the store as it is (its failure boxes
// and nothing more); a numbered one must reach the store, or the log says it did not.
enum class Numbering { kTyped, kCounted };

// Success, or (numbering only) the failure to record that the log has named.
Outcome RememberCommId(const CommandContext& ctx, std::int32_t commId, Numbering numbering) {
    if (numbering == Numbering::kCounted) {
        const Status kept = KeepValue(ctx.settings, kValueCommId, commId);
        if (!kept) return ReportUnrecorded(ctx, kept.error());
        return Outcome::Success();
    }
    CRegistryKey key(ctx.settings, ctx.host);
    key.WriteValue(kValueCommId, commId);
    key.Close();
    return Outcome::Success();
}

// Resets the terminal and shows what it reports after its restart. A reset it did not confirm
// is a failure: identifying it anyway could report "Done" for a terminal that never restarted.
Identification RestartAndIdentify(const CommandContext& ctx) {
    ctx.link.ResetDevice();
    if (ctx.link.LastCallFailed()) {
        ctx.Log("Connection Failure", kIconFailure);
        ctx.host.Beep();
        return {Outcome::Failure(OutcomeClass::kCommunication, "the reset was not confirmed")};
    }
    ctx.Log("commID written successful. Resetting...", kIconProgress);
    ctx.host.Progress({ProgressKind::kWait, 0, kCommIdRestartMs});
    ctx.host.Sleep(kCommIdRestartMs);
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kPartlyProgrammed); !stopped.ok())
        return {stopped};
    return IdentifyTerminal(ctx, TerminalLeft::kPartlyProgrammed);
}

// Writes `entered`. `storedId`: with the next-ID button, the stored ID its offer counted on
// when that number is none a terminal can carry; the refusal then names the store as the
// cause.
CommIdWrite WriteCommId(const CommandContext& ctx, Numbering numbering, std::int64_t entered,
                        std::optional<std::int32_t> storedId = std::nullopt) {
    if (Outcome opened = OpenAndSearch(ctx, TerminalLeft::kUntouched); !opened.ok())
        return {opened};
    // Cutting a larger number to its low 16 bits would give a terminal an ID that another
    // one already carries.
    if (entered < kCommIdMin || entered > kCommIdMax) {
        std::string why =
            "CommID " + std::to_string(entered) + " does not fit the terminal (0 to 65535)";
        if (storedId)
            why += ": the stored ID is " + std::to_string(*storedId) +
                   " (\"commID\" in the settings); set it to the last ID written to a terminal";
        ctx.Log(why, kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        return {Outcome::Failure(OutcomeClass::kRefused,
                                 storedId ? why : "the ID does not fit the terminal")};
    }
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return {stopped};
    const auto commId = static_cast<std::int32_t>(entered);
    CommIdWrite write;
    write.writeStarted = true;
    // Both bytes are checked (high first, the low one only after it): a failed high byte
    // would leave a wrong ID behind.
    const bool written =
        ctx.state.commIdLowByteFirst
            ? WriteByteValue(ctx.link, kCommIdPage, kCommIdHighOffset + 1, commId % 256) &&
                  WriteByteValue(ctx.link, kCommIdPage, kCommIdHighOffset, commId / 256)
            : WriteTwoByteValue(ctx.link, kCommIdPage, kCommIdHighOffset, commId);
    if (!written) {
        ctx.Log("Cannot write ID!", kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        write.outcome = Outcome::Failure(OutcomeClass::kCommunication, "the ID was not written");
        return write;
    }
    // The ID is in the terminal: it is recorded at once, before the reset and the wait that
    // an interruption or a failure could cut short, so that it is never offered again.
    const Outcome recorded =
        ctx.state.commIdKeptByCaller ? Outcome::Success() : RememberCommId(ctx, commId, numbering);
    Identification identified = RestartAndIdentify(ctx);
    ClosePort(ctx);
    write.outcome = recorded.ok() ? identified.outcome : recorded;
    write.identity = std::move(identified.identity);
    write.bytesAcknowledged = true;
    return write;
}

}  // namespace

Outcome ReportUnrecorded(const CommandContext& ctx, const std::string& reason) {
    ctx.Log("Cannot record the CommID: " + reason, kIconFailure);
    ctx.host.Beep();
    return Outcome::Failure(OutcomeClass::kRefused, "the CommID cannot be recorded: " + reason);
}

std::int64_t NextCommIdOffer(const std::string& editText) {
    return std::int64_t{CAtoi(editText)} + 1;
}

std::string NextCommIdCaption(const std::string& editText) {
    return std::to_string(NextCommIdOffer(editText));
}

void OnCommIdChange(const CommandContext& ctx) {
    ctx.form.Show(id::kNextCommIdButton, true);
    ctx.form.Show(id::kNextCommIdLabel, true);
    const std::string& text = ctx.form.Text(id::kCommId);
    ctx.state.nextCommIdOffer = NextCommIdOffer(text);
    ctx.form.SetText(id::kNextCommIdButton, std::to_string(*ctx.state.nextCommIdOffer));
    const bool offer = !text.empty();
    ctx.form.Show(id::kNextCommIdButton, offer);
    ctx.form.Show(id::kNextCommIdLabel, offer);
}

namespace {

// "&Set" writes the number typed into the edit.
std::int64_t TypedCommId(const CommandContext& ctx) {
    return CAtoll(ctx.form.Text(id::kCommId));
}

}  // namespace

Outcome SetCommId(const CommandContext& ctx) {
    return WriteCommId(ctx, Numbering::kTyped, TypedCommId(ctx)).outcome;
}

CommIdWrite SetCommIdReportingBytes(const CommandContext& ctx) {
    return WriteCommId(ctx, Numbering::kTyped, TypedCommId(ctx));
}

Outcome StoredCommId(const CommandContext& ctx, std::int32_t& stored) {
    Result<std::int32_t> kept = ReadKeepableValue(ctx.settings, kValueCommId, kDefaultCommId);
    if (!kept) return ReportUnrecorded(ctx, kept.error());
    stored = kept.value();
    return Outcome::Success();
}

Outcome NextCommId(const CommandContext& ctx) {
    // Checked before the edit changes: a refused press leaves the offer where it was, so the
    // next press does not skip an ID.
    std::int32_t stored = 0;
    if (Outcome kept = StoredCommId(ctx, stored); !kept.ok()) return kept;
    // The number offered, whole: a caption cut to the edit's width would be another ID.
    const std::int64_t offer =
        ctx.state.nextCommIdOffer.value_or(NextCommIdOffer(ctx.form.Text(id::kCommId)));
    const std::int64_t base = offer - 1;
    const bool storeAtFault = base < kCommIdMin || base > kCommIdMax;
    ctx.form.SetText(id::kCommId, std::to_string(offer));
    return WriteCommId(ctx, Numbering::kCounted, offer,
                       storeAtFault ? std::optional(stored) : std::nullopt)
        .outcome;
}

}  // namespace vk930
