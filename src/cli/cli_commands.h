#pragma once
// The commands of vk930ctl. Each presses the window's button for it, with the window's
// dialogs answered from the command line.
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_session.h"

namespace vk930 {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The outcome of parsing a command's own arguments: run it, or a usage error.
struct CliCommand {
    std::string name;
    std::string synopsis;  // arguments, for the help text
    std::string summary;
    // Runs the command; returns kExitUsage for bad arguments, otherwise the host decides.
    std::function<int(CliSession&, const QStringList& args, std::string& usageError)> run;
    // Prints its own result and gives the exit status itself (no terminal command).
    bool standalone = false;
};

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);

}  // namespace vk930
