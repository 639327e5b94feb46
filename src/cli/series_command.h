#pragma once
// vk930ctl series: numbers a series of terminals, one station per port, each in its own thread.
#include <QStringList>

#include "cli/cli_commands.h"

namespace vk930 {

CommandResult RunSeries(CliSession& session, const QStringList& args);

}  // namespace vk930
