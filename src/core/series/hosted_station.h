#pragma once
// A series station inside a window: its own state, link and form on one port, its log entries
// in the window's log, its records in the series' ledger.
#include <memory>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/link_ctrl.h"
#include "core/proof/command_recorder.h"
#include "core/proof/proof_options.h"
#include "core/series/series_job.h"
#include "core/series/station_host.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// What a window gives each station it makes; all of it outlives the stations.
struct StationKit {
    Host* window = nullptr;                      // the window's host: its log, boxes, beep
    SettingsBackendFactory* settings = nullptr;  // the window's settings store
    // The station's own link, reaching what the window's COM ports reach.
    std::function<std::unique_ptr<CLinkCtrl>(int port)> makeLink;
    RecorderSetup recorder;              // the window's; its sink becomes the series' ledger
    ProofOptions proof;                  // the window's backups and checks
    StationSleep sleep;                  // unset: really, ending early on a stop
    std::function<long long()> clockMs;  // the terminals' times at the station
};

class HostedStation : public StationParts {
  public:
    // `prefixed`: the station's log entries carry its port ("COM2: ").
    HostedStation(int port, bool prefixed, const StationKit& kit, SeriesLedger& ledger);

    int Port() const override { return port_; }
    CVK900ConfigView& View() override { return view_; }
    // The window shows the station's events, not its lines.
    void Report(const std::string&) override {}
    void Ended() override;

  private:
    const int port_;
    AppState state_;
    StationHost host_;
    std::unique_ptr<CLinkCtrl> link_;
    CVK900ConfigView view_;
};

}  // namespace vk930
