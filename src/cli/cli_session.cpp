#include "cli/cli_session.h"

#include "platform/link_factory.h"

namespace vk930 {

CliSession::CliSession(TerminalHost& host_, SettingsBackendFactory& settings_, LinkOpener opener,
                       LinkErrorSink onLinkError)
    : host(host_),
      settings(settings_),
      link(std::move(opener), std::move(onLinkError), ProgramBootFileLookup()),
      view(host_, link, settings_, state) {}

}  // namespace vk930
