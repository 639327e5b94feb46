#pragma once
// `vk930ctl backups [--id N]` lists the backups written before each Set;
// `vk930ctl restore FILE [--force]` programs one back into the terminal it was taken of.
#include <QJsonObject>
#include <QStringList>
#include <string>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;

// The JSON event of a backup file: its path and, when it is named as a backup, the time
// ("2026-12-07T15:31:51", local), COM port and CommID its name holds.
QJsonObject BackupEvent(const std::string& path);

CommandResult RunBackups(CliSession& session, const QStringList& args);
CommandResult RunRestore(CliSession& session, const QStringList& args);

}  // namespace vk930
