#pragma once
// The simulated terminal on the wire: cuts requests out of the bytes the host sends, answers
// them through the WireServer and acts out the spec's wire faults through its WireFaultGate.
// Pure bytes in, bytes out: the simulator program moves them over a pseudo-terminal, tests
// move them in memory.
#include <memory>
#include <span>

#include "core/terminal/link_spec.h"
#include "core/terminal/wire_fault_gate.h"
#include "core/terminal/wire_server.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

class WireTerminal {
  public:
    WireTerminal(TerminalModel& terminal, WireFaults faults, WireServer::TraceSink trace = {})
        : server_(terminal, std::move(trace)), gate_(std::make_shared<WireFaultGate>(faults)) {}

    WireOutput Receive(std::span<const std::uint8_t> bytes);
    // Requests received with a good CRC, repeats included.
    int Requests() const { return gate_->Requests(); }
    // Forgets half-received bytes (the host went away).
    void Disconnected() { reader_.Reset(); }
    // The faults, shared with the boot loader so that its requests count on.
    std::shared_ptr<WireFaultGate> Faults() const { return gate_; }

  private:
    FrameReader reader_;
    WireServer server_;
    std::shared_ptr<WireFaultGate> gate_;
};

}  // namespace vk930
