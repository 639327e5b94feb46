#pragma once
// `vk930ctl diff FILE` shows what a Set of FILE would change in the terminal, writing nothing;
// `vk930ctl diff FILE1 FILE2` compares two parameter files without a terminal. Exit status as
// diff(1): 0 no difference, 1 differences, 2 trouble.
#include <QStringList>
#include <string>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;

CommandResult RunDiff(CliSession& session, const QStringList& args);

}  // namespace vk930
