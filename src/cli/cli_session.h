#pragma once
// One run of vk930ctl: the program's state, the form logic and the link, driven by one command.
#include <memory>
#include <optional>
#include <string>

#include "cli/terminal_host.h"
#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

struct CliSession {
    CliSession(TerminalHost& host, SettingsBackendFactory& settings, LinkOpener opener,
               LinkErrorSink onLinkError);

    TerminalHost& host;
    SettingsBackendFactory& settings;
    AppState state;
    PortRouter link;
    CVK900ConfigView view;
    std::optional<std::string> linkOverride;  // --link: what every COM port reaches
};

}  // namespace vk930
