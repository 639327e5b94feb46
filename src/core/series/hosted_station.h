#pragma once
// A series station inside a window: the program's parts on one port, its log entries in the
// window's log, its records in the series' ledger.
#include <functional>
#include <memory>
#include <string>

#include "core/app/program_parts.h"
#include "core/link/link_ctrl.h"
#include "core/proof/command_recorder.h"
#include "core/registry/terminal_registry.h"
#include "core/series/series_job.h"
#include "core/series/station_host.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// What a window gives each station it makes; all of it outlives the stations. The station's
// safeguards around a Set are the settings' (as a fresh program's are); the series' own
// choices (verify or not) are applied by the series on top.
struct StationKit {
    Host* window = nullptr;                      // the window's host: its log, boxes, beep
    SettingsBackendFactory* settings = nullptr;  // the window's settings store
    // The station's own link, reaching what the window's COM ports reach; null: the port
    // reaches nothing.
    std::function<std::unique_ptr<CLinkCtrl>(int port)> makeLink;
    RecorderSetup recorder;              // the window's; its sink becomes the series' ledger
    std::string stateFolder;             // the window's backups' folder; empty: the user's
    StationSleep sleep;                  // unset: really, ending early on a stop
    std::function<long long()> clockMs;  // the terminals' times; unset: the steady clock
};

class HostedStation : public StationParts {
  public:
    // `prefixed`: the station's log entries carry its port ("COM2: "). `idRegistry` and
    // `sharedRegistry`: the window's, so that the station's form counts IDs as the window's.
    HostedStation(int port, bool prefixed, const StationKit& kit, SeriesLedger& ledger,
                  TerminalRegistry* idRegistry, std::string sharedRegistry);

    int Port() const override { return port_; }
    CVK900ConfigView& View() override { return program_.view; }
    // The window shows the station's events, not its lines.
    void Report(const std::string&) override {}
    void Ended() override;

  private:
    const int port_;
    StationHost host_;
    ProgramParts program_;
};

}  // namespace vk930
