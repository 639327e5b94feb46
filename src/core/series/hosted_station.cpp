// A series station inside a window.
#include "core/series/hosted_station.h"

namespace vk930 {

HostedStation::HostedStation(int port, bool prefixed, const StationKit& kit, SeriesLedger& ledger)
    : port_(port),
      host_(*kit.window, port, prefixed, state_.stop, kit.sleep),
      link_(kit.makeLink(port)),
      view_(host_, *link_, *kit.settings, state_) {
    state_.comPort = port;
    view_.Proof() = kit.proof;
    RecorderSetup recorder = kit.recorder;
    recorder.sink = &ledger;
    view_.SetRecorder(std::move(recorder));
}

// The port was opened on the station's thread and is closed there.
void HostedStation::Ended() {
    link_->Connect(static_cast<Short>(port_), 0);
}

}  // namespace vk930
