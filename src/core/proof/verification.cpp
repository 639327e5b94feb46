#include "core/proof/verification.h"

#include "core/commands/command_steps.h"

namespace vk930 {

namespace {

// The terminal restarts after its reset; it is asked again until it answers.
constexpr int kResetWaitMs = 500;
constexpr int kAnswerTries = 10;

bool WaitForRestartedTerminal(const CommandContext& ctx) {
    if (!ctx.link.Connect(ctx.Port(), kBaudApplication)) return false;
    for (int i = 0; i < kAnswerTries; ++i) {
        ctx.host.Sleep(kResetWaitMs);
        if (ctx.link.ReadInfo() == kReadInfoAnswered) return true;
    }
    return false;
}

VerifyResult Fail(const CommandContext& ctx, const std::string& why) {
    ctx.Log("Verification failed: " + why, kIconFailure);
    ctx.host.Beep();
    ClosePort(ctx);
    return {false, 0, 0, why};
}

}  // namespace

VerifyResult VerifyWrites(const CommandContext& ctx, const WrittenBytes& written) {
    ctx.Log("Verifying...", kIconProgress);
    if (!WaitForRestartedTerminal(ctx))
        return Fail(ctx, "the terminal does not answer after its reset");
    if (!ctx.link.ReadPage0(0, 255) || !ctx.link.ReadPage1(0, 255))
        return Fail(ctx, "the pages cannot be read back");
    VerifyResult result;
    for (const auto& [address, expected] : FinalValues(written)) {
        const auto [page, offset] = address;
        ++result.verified;
        const int found = ctx.link.GetByte(static_cast<Short>(page), static_cast<Short>(offset));
        if (found == expected) continue;
        if (++result.mismatches <= kMaxMismatchEntries)
            ctx.Log("Verification failed: page " + std::to_string(page) + " offset " +
                        std::to_string(offset) + " is " + std::to_string(found) + ", not " +
                        std::to_string(expected),
                    kIconFailure);
    }
    ClosePort(ctx);
    if (result.mismatches > kMaxMismatchEntries)
        ctx.Log("Verification failed: " + std::to_string(result.mismatches - kMaxMismatchEntries) +
                    " more bytes differ",
                kIconFailure);
    if (result.mismatches > 0) {
        ctx.host.Beep();
        result.detail = std::to_string(result.mismatches) + " of " +
                        std::to_string(result.verified) + " bytes differ";
        return result;
    }
    result.ok = true;
    ctx.Log("Verified: " + std::to_string(result.verified) + " bytes", kIconSuccess);
    return result;
}

}  // namespace vk930
