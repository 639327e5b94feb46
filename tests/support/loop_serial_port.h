#pragma once
// A serial port wired in memory to a simulated terminal on the wire, on a virtual clock: what
// the host writes reaches the terminal at once, its answer waits to be read, and a read with
// nothing to read lets the whole time-out pass on the clock without really waiting.
#include <memory>

#include "core/terminal/wire_terminal.h"
#include "core/wire/serial_port.h"

namespace vk930::test {

class LoopSerialPort : public SerialPort {
  public:
    // `chunk`: the most bytes one Read returns (0: all there are), to cut frames apart.
    LoopSerialPort(std::shared_ptr<WireTerminal> terminal, std::size_t chunk = 0)
        : terminal_(std::move(terminal)), chunk_(chunk) {}

    std::string Name() const override { return "loop"; }
    Status Open(int baud) override;
    Status SetBaud(int baud) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    Status Write(std::span<const std::uint8_t> bytes) override;
    Result<Bytes> Read(Millis timeout) override;
    void DiscardInput() override { inbox_.clear(); }
    Millis Now() override { return now_; }

    int Baud() const { return baud_; }
    int Opens() const { return opens_; }
    bool HungUp() const { return hungUp_; }
    // Bytes that will arrive at the next read, as if they were on the line already.
    void Inject(const Bytes& bytes) { inbox_.insert(inbox_.end(), bytes.begin(), bytes.end()); }

  private:
    std::shared_ptr<WireTerminal> terminal_;
    std::size_t chunk_;
    Bytes inbox_;
    Millis now_{0};
    bool open_ = false;
    bool hungUp_ = false;
    int baud_ = 0;
    int opens_ = 0;
};

}  // namespace vk930::test
