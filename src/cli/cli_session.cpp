#include "cli/cli_session.h"

#include <chrono>

#include "platform/link_factory.h"

namespace vk930 {

CliSession::CliSession(TerminalHost& host_, SettingsBackendFactory& settings_, LinkOpener opener,
                       LinkErrorSink onLinkError, std::unique_ptr<TerminalRegistry> registry_,
                       std::string sharedRegistry)
    : host(host_),
      settings(settings_),
      registry(std::move(registry_)),
      proofChannel(host_, registry->Path()),
      program({.host = host_,
               .settings = settings_,
               .opener = std::move(opener),
               .onLinkError = std::move(onLinkError),
               .bootFiles = ProgramBootFileLookup(),
               .recorder = RecorderFor(*registry, proofChannel),
               .idRegistry = registry.get(),
               .sharedRegistry = std::move(sharedRegistry)}),
      state(program.state),
      link(program.link),
      view(program.view) {}

RecorderSetup CliSession::RecorderFor(ServiceLogSink& sink, ProofChannel& channel) {
    RecorderSetup setup;
    setup.sink = &sink;
    setup.channel = &channel;
    setup.program = "vk930ctl";
    setup.version = PROJECT_VERSION;
    setup.reach = [this](int port) { return DeviceSpecFor(port, linkOverride, settings); };
    return setup;
}

void CliSession::RecordStandalone(const std::string& command, const Outcome& outcome) {
    ServiceRecord record;
    record.time = std::chrono::system_clock::now();
    record.program = "vk930ctl";
    record.version = PROJECT_VERSION;
    record.command = command;
    record.comPort = state.comPort;
    record.reach = DeviceSpecFor(state.comPort, linkOverride, settings);
    record.outcome = outcome.outcomeClass;
    record.detail = outcome.detail;
    if (Status stored = registry->Append(record); !stored)
        proofChannel.ServiceLogFailed(stored.error());
    else
        proofChannel.ServiceLogWritten(registry->Path());
}

std::string CliSession::NoPortReason() {
    if (state.comPort != 0) return {};
    std::unique_ptr<SettingsBackend> store = settings.Make();
    if (store->Open() == 0) {
        store->Close();
        return {};
    }
    const std::string problem = store->Problem();
    return "no COM port is chosen: the " +
           (problem.empty() ? "settings store cannot be opened" : problem) +
           ", so the port is 0; make it writable for this user, or give --port N";
}

}  // namespace vk930
