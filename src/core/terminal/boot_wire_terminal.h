#pragma once
// The simulated terminal's boot loader on the wire at 4800 baud (docs/protocol.md): it sends
// 0x00 while it waits, answers the host's sync with 0xAA, then takes framed requests, each
// carried out by the terminal model's boot loader (SimBootLoader), with the wire faults of
// the terminal's run acted out on them. Pure bytes in, bytes out.
#include <memory>
#include <span>

#include "core/terminal/answer_memory.h"
#include "core/terminal/sim_boot_loader.h"
#include "core/terminal/wire_fault_gate.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

class BootWireTerminal {
  public:
    // The terminal has just entered its boot loader (the host set 4800 baud). `faults`: the
    // wire faults of the terminal's run (none when null).
    explicit BootWireTerminal(TerminalModel& terminal,
                              std::shared_ptr<WireFaultGate> faults = nullptr);

    // True while it waits for the sync: it sends 0x00 every boot::kWaitingInterval.
    bool Waiting() const { return phase_ == Phase::kWaiting; }
    // Takes bytes from the host and returns what the boot loader sends back.
    WireOutput Receive(std::span<const std::uint8_t> bytes);

  private:
    enum class Phase { kSilent, kWaiting, kSynced };
    Bytes Sync(std::span<const std::uint8_t> bytes);
    Frame Answer(const Frame& request);
    Bytes Execute(const Frame& request);
    bool TakeBootBlock(const Bytes& payload);
    bool WriteBlock(const Bytes& payload);
    bool Verify(const Bytes& payload);

    SimBootLoader loader_;
    Phase phase_ = Phase::kSilent;
    FrameReader reader_;
    AnswerMemory memory_;
    FirmwareImage bootFile_;
    std::shared_ptr<WireFaultGate> faults_;
};

}  // namespace vk930
