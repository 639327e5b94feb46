#pragma once
// `vk930ctl registry init|status`: sets up the shop's shared registry (creates or migrates its
// schema), and shows what a registry holds.
#include <QStringList>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;
struct RegistrySummary;

// The status as "name: value" lines, for people and scripts alike.
std::string RegistryStatusText(const RegistrySummary& summary);

CommandResult RunRegistry(CliSession& session, const QStringList& args);

}  // namespace vk930
