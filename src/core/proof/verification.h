#pragma once
// Verification after a Set run: the terminal is asked for both pages again once it is back
// from its reset, and every byte the run wrote must be there.
#include "core/commands/command_context.h"
#include "core/proof/written_bytes.h"

namespace vk930 {

inline constexpr int kMaxMismatchEntries = 10;

struct VerifyResult {
    bool ok = false;
    int verified = 0;    // bytes compared
    int mismatches = 0;  // bytes that differ
    std::string detail;  // why it failed, for the outcome
};

// Logs "Verifying..." (2), reconnects and waits for the terminal, fetches both pages and
// compares the last value written at each address. Logs "Verified: N bytes" (1), or one
// "Verification failed: page P offset O is X, not Y" (0) per byte, at most
// kMaxMismatchEntries of them, then how many more. The port is closed again.
VerifyResult VerifyWrites(const CommandContext& ctx, const WrittenBytes& written);

}  // namespace vk930
