#pragma once
// Set parameters: programs a parameter file into the terminal, line by line, function keys
// last, then resets the terminal.
#include <functional>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"

namespace vk930 {

// How a Set run left the port.
enum class SetRunEnd {
    kPortUntouched,  // ended before its own Connect (no file, or Connect failed)
    kPortHandled,    // connected: the run closed the port, or left it open on purpose
};

struct SetRun {
    Outcome outcome;
    SetRunEnd end = SetRunEnd::kPortUntouched;
};

// A step between the page fetch of the "Set" button and the run (the backup, the check of a
// restore). A failure ends the command before anything is written: the step has said why and
// closed the port.
using BeforeSetRun = std::function<Outcome(const CommandContext&)>;

// The "Set" button: connects, identifies the terminal, fetches both pages, then runs
// OnSetParameters with the raw-dump flag clear. The port it opened is closed on every path.
Outcome OnSet(const CommandContext& ctx, const BeforeSetRun& beforeRun = {});

// The "&Set..." button: takes the document's file (else asks for one), connects, identifies
// the terminal, applies every line up to END, writes the function keys and resets the
// terminal.
SetRun OnSetParameters(const CommandContext& ctx);

}  // namespace vk930
