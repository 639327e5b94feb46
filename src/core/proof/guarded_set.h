#pragma once
// The "Set" button with its safeguards: the check that a restore goes to the terminal its
// backup came from, the backup of the pages just fetched, and the verification afterwards.
#include "core/commands/command_context.h"
#include "core/commands/outcome.h"
#include "core/proof/command_recorder.h"
#include "core/proof/proof_options.h"

namespace vk930 {

// Runs OnSet with the safeguards the options ask for, and returns how the command ended. A
// backup that cannot be written stops the command before any write, with the one log entry
// "Cannot write the backup: <reason>" (0), a beep and the port closed. A restore refused for
// the terminal's CommID leaves the CommID found in options.refusedCommId.
Outcome GuardedSet(const CommandContext& ctx, ProofOptions& options, CommandRecorder& recorder,
                   ProofChannel& channel);

}  // namespace vk930
