#pragma once
// The simulated terminal on the wire: cuts requests out of the bytes the host sends, answers
// them through the WireServer and acts out the spec's wire faults (junk, corrupt=N, drop=N,
// stall=N, hangup=N). Pure bytes in, bytes out: the simulator program moves them over a
// pseudo-terminal, tests move them in memory.
#include <span>

#include "link/wire_frame.h"
#include "sim/link_spec.h"
#include "sim/wire_server.h"

namespace vk930 {

// The noise `junk` puts before every answer: stray bytes and a start byte whose frame never
// comes right.
Bytes JunkBytes();

struct WireOutput {
    Bytes bytes;          // what the terminal sends back
    bool hangup = false;  // the device disappears now
};

class WireTerminal {
  public:
    WireTerminal(TerminalModel& terminal, WireFaults faults, WireServer::TraceSink trace = {})
        : server_(terminal, std::move(trace)), faults_(faults) {}

    WireOutput Receive(std::span<const std::uint8_t> bytes);
    // Requests received with a good CRC, repeats included.
    int Requests() const { return requests_; }
    // Forgets half-received bytes (the host went away).
    void Disconnected() { reader_.Reset(); }

  private:
    bool Stalled() const { return faults_.stallFrom > 0 && requests_ >= faults_.stallFrom; }
    void Send(const Frame& answer, Bytes& out);

    FrameReader reader_;
    WireServer server_;
    WireFaults faults_;
    int requests_ = 0;
    int answers_ = 0;
};

}  // namespace vk930
