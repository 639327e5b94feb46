// A series station inside a window.
#include "core/series/hosted_station.h"

namespace vk930 {

namespace {

// The window's link maker as the parts' opener: a port it makes no link for reaches nothing.
LinkOpener OpenerOf(const StationKit& kit) {
    return [make = kit.makeLink](Short port) -> Result<std::unique_ptr<CLinkCtrl>> {
        return make(port);
    };
}

ProgramSetup StationSetup(int port, const StationKit& kit, StationHost& host, SeriesLedger& ledger,
                          TerminalRegistry* idRegistry, std::string sharedRegistry) {
    RecorderSetup recorder = kit.recorder;
    recorder.sink = &ledger;
    return {.host = host,
            .settings = *kit.settings,
            .opener = OpenerOf(kit),
            .onLinkError = {},  // the window's links report their own faults
            .bootFiles = {},    // a series uploads no firmware
            .recorder = std::move(recorder),
            .idRegistry = idRegistry,
            .sharedRegistry = std::move(sharedRegistry),
            .fixedPort = port,
            .stateFolder = kit.stateFolder};
}

}  // namespace

HostedStation::HostedStation(int port, bool prefixed, const StationKit& kit, SeriesLedger& ledger,
                             TerminalRegistry* idRegistry, std::string sharedRegistry)
    : port_(port),
      host_(*kit.window, port, prefixed, kit.sleep),
      program_(StationSetup(port, kit, host_, ledger, idRegistry, std::move(sharedRegistry))) {
    host_.WatchStop(program_.state.stop);
    program_.InitialUpdate();
}

// The port was opened on the station's thread and is closed there.
void HostedStation::Ended() {
    program_.link.Connect(static_cast<Short>(port_), 0);
}

}  // namespace vk930
