#pragma once
// A serial device as the wire protocol needs it: open at a baud (8N1, no flow control),
// send, wait a bounded time for bytes. The Qt implementation drives a real port; tests give
// one that talks to a simulated terminal in memory on a virtual clock.
#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "core/base/result.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

using Millis = std::chrono::milliseconds;

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // The device's name as the technician configured it (for messages).
    virtual std::string Name() const = 0;
    // Opens the device; the error names the reason (missing, busy, no permission).
    virtual Status Open(int baud) = 0;
    virtual Status SetBaud(int baud) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends every byte; an error means the device failed or went away.
    virtual Status Write(std::span<const std::uint8_t> bytes) = 0;
    // Waits at most `timeout` for bytes and returns those that came (none: the time ran out).
    // An error means the device failed or went away.
    virtual Result<Bytes> Read(Millis timeout) = 0;
    // Drops bytes received and not yet read.
    virtual void DiscardInput() = 0;
    // A monotonic clock, the one Read waits by.
    virtual Millis Now() = 0;
};

// Time the line needs for `bytes` at `baud`: 10 bits a byte (start, 8 data, stop), rounded up.
inline Millis LineTime(std::size_t bytes, int baud) {
    if (baud <= 0) return Millis(0);
    return Millis((static_cast<long long>(bytes) * 10 * 1000 + baud - 1) / baud);
}

}  // namespace vk930
