#pragma once
// `vk930ctl registry init|status`: sets up the shop's shared registry (creates or migrates its
// schema), and shows what a registry holds.
#include <QJsonObject>
#include <QStringList>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;
struct RegistrySummary;

// The status as "name: value" lines, for people and scripts alike.
std::string RegistryStatusText(const RegistrySummary& summary);

// The status as one `registry` event of --json; counts the registry could not give are absent.
QJsonObject RegistryStatusEvent(const RegistrySummary& summary);

CommandResult RunRegistry(CliSession& session, const QStringList& args);

}  // namespace vk930
