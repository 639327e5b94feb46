#pragma once
// One run of vk930ctl: the program's state, the form logic and the link, driven by one command.
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_proof.h"
#include "cli/terminal_host.h"
#include "core/app/program_parts.h"
#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "core/registry/terminal_registry.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

struct CliSession {
    // Every record goes to `registry` (the bench's own service log, or a shared registry that
    // also writes it). `sharedRegistry`: the shared registry's address as messages show it.
    CliSession(TerminalHost& host, SettingsBackendFactory& settings, LinkOpener opener,
               LinkErrorSink onLinkError, std::unique_ptr<TerminalRegistry> registry,
               std::string sharedRegistry = {});

    TerminalHost& host;
    SettingsBackendFactory& settings;
    std::optional<std::string> linkOverride;  // --link: what every COM port reaches
    // The counter of a series and the records; its Path() is the bench's service log.
    std::unique_ptr<TerminalRegistry> registry;
    CliProofChannel proofChannel;
    ProgramParts program;
    AppState& state;
    PortRouter& link;
    CVK900ConfigView& view;

    // How a view of this run records its commands: into `sink`, saying so through `channel`.
    RecorderSetup RecorderFor(ServiceLogSink& sink, ProofChannel& channel);
    // Stores the record of a command that runs without the terminal (history, backups, ...).
    void RecordStandalone(const std::string& command, const Outcome& outcome);
    std::string settingsPath;  // the settings file (its lock is beside it)

    // Why no COM port is chosen when the settings load gave port 0 (its store did not open),
    // naming the settings file and what to do; empty when a port is chosen.
    std::string NoPortReason();
};

}  // namespace vk930
