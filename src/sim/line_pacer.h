#pragma once
// Makes the simulator take and send bytes no faster than a real line at the host's baud
// (10 bits a byte), so that timings over the pseudo-terminal are real. Disabled, it passes
// everything at once.
#include <chrono>
#include <cstdint>
#include <functional>

namespace vk930 {

// Bytes sent together; the host sees them arrive piece by piece as over a real line.
inline constexpr std::size_t kPaceChunk = 16;

class LinePacer {
  public:
    using Clock = std::chrono::steady_clock;
    using Writer = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

    explicit LinePacer(bool enabled) : enabled_(enabled) {}

    // Waits for the line time of `count` bytes just received.
    void Take(std::size_t count, int baud);
    // Writes the bytes, each piece when the line would have delivered it; false when a
    // write failed.
    bool Send(const std::uint8_t* bytes, std::size_t count, int baud, const Writer& write);

  private:
    static Clock::duration ByteTime(std::size_t count, int baud);

    bool enabled_;
    Clock::time_point lineFree_{};
};

}  // namespace vk930
