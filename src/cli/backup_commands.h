#pragma once
// `vk930ctl backups [--id N]` lists the backups written before each Set;
// `vk930ctl restore FILE [--force]` programs one back into the terminal it was taken of.
#include <QStringList>
#include <string>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;

CommandResult RunBackups(CliSession& session, const QStringList& args);
CommandResult RunRestore(CliSession& session, const QStringList& args);

}  // namespace vk930
