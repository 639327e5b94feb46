#pragma once
// The question asked when the window is closed while a terminal job runs: what the job is
// doing, what stopping it now leaves behind, and whether to stop it and close.
#include <string>

#include "core/app/command_map.h"
#include "core/commands/command_steps.h"

namespace vk930 {

// What the terminal is left as when the job stops after its current step.
TerminalLeft LeftWhenStopped(TerminalJob job);

// The question's whole text; the answers are yes (stop and close) and no (go on), no the
// default.
std::string CloseQuestion(TerminalJob job);

}  // namespace vk930
