#pragma once
// The exit statuses of vk930ctl, and the one mapping from a command's outcome to its status.
#include <string>

#include "core/commands/outcome.h"

namespace vk930 {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;        // the command failed, or its output was lost
inline constexpr int kExitUsage = 2;          // bad arguments or settings file: nothing ran
inline constexpr int kExitInterrupted = 130;  // stopped by SIGINT or SIGTERM (128 + SIGINT)

int ExitStatusOf(const Outcome& outcome);

// The statuses as the help text lists them.
std::string ExitStatusHelp();

}  // namespace vk930
