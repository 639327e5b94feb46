#pragma once
// The commands of vk930ctl. Each presses the window's button for it, with the window's
// dialogs answered from the command line.
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "cli/exit_status.h"
#include "core/commands/outcome.h"

namespace vk930 {

// What running a command gave: a usage error (nothing ran), or the command's outcome.
struct CommandResult {
    std::optional<std::string> usageError;
    Outcome outcome;

    // A status of the command's own instead of the outcome's (diff: 1 for differences).
    std::optional<int> exitStatus;

    static CommandResult Usage(std::string why) { return {std::move(why), {}, std::nullopt}; }
    static CommandResult Ran(Outcome outcome) {
        return {std::nullopt, std::move(outcome), std::nullopt};
    }
};

struct CliCommand {
    std::string name;
    std::string synopsis;  // arguments, for the help text
    std::string summary;
    std::function<CommandResult(CliSession&, const QStringList& args)> run;
    // Prints its own result (no terminal command, no log, no form fields).
    bool standalone = false;
};

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);

}  // namespace vk930
