#pragma once
// Get parameters: reads both parameter pages of the terminal and saves them as a parameter
// file, raw (one SYSTEM line per byte) after the "Get" button, keyed through "&Get...".
#include "core/commands/command_context.h"
#include "core/commands/outcome.h"

namespace vk930 {

// The "Get" button: sets the raw-dump flag, then runs OnGetParameters.
Outcome OnGet(const CommandContext& ctx);

// The "&Get..." button: asks for the port and the file, reads the pages and writes the file,
// in the raw form while the raw-dump flag is set, else in the keyed form. The file is
// replaced only once it has been written in full; a failed run leaves it as it was.
Outcome OnGetParameters(const CommandContext& ctx);

}  // namespace vk930
