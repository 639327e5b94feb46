#pragma once
// Frames of the terminal's wire protocol (docs/protocol.md), shared by the serial link and the
// simulator:
//   0x02 | LEN low | LEN high | SEQ | CMD | PAYLOAD (LEN bytes) | CRC high | CRC low
// The CRC is CRC-16/CCITT-FALSE over every byte after the start byte up to the CRC.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vk930 {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kFrameStart = 0x02;
inline constexpr std::size_t kFrameHeaderSize = 5;  // start, length (2), sequence, command
inline constexpr std::size_t kFrameCrcSize = 2;
inline constexpr std::size_t kFrameOverhead = kFrameHeaderSize + kFrameCrcSize;
// No frame carries more: a longer length field marks the start byte as noise.
inline constexpr std::size_t kMaxPayload = 512;
inline constexpr std::size_t kMaxFrameSize = kMaxPayload + kFrameOverhead;

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial value 0xFFFF, no reflection, no final XOR
// ("123456789" gives 0x29B1).
std::uint16_t Crc16(std::span<const std::uint8_t> bytes);

struct Frame {
    std::uint8_t seq = 0;
    std::uint8_t command = 0;
    Bytes payload;
    bool operator==(const Frame&) const = default;
};

// The bytes of one frame; the payload must not exceed kMaxPayload.
Bytes EncodeFrame(const Frame& frame);

// Collects received bytes and cuts frames out of them. Whatever stands before the earliest
// whole frame with a good CRC is noise and is dropped, so the reader finds its way back after
// junk, a lost byte or a damaged frame.
class FrameReader {
  public:
    void Feed(std::span<const std::uint8_t> bytes);
    std::optional<Frame> Next();
    // Whole frames dropped for a bad CRC since the last Reset.
    int BadFrames() const { return badFrames_; }
    // Bytes dropped as noise (including dropped frames) since the last Reset.
    std::size_t SkippedBytes() const { return skippedBytes_; }
    // True while received bytes wait for the rest of a frame.
    bool Pending() const { return !buffer_.empty(); }
    void Reset();

  private:
    enum class Candidate { kIncomplete, kNotAFrame, kBadCrc, kGood };
    Candidate Examine(std::size_t start, std::size_t& end) const;
    // Cuts out the good frame at [start, end), dropping the noise before it.
    Frame Take(std::size_t start, std::size_t end);
    void Drop(std::size_t count);

    Bytes buffer_;
    int badFrames_ = 0;
    std::size_t skippedBytes_ = 0;
};

}  // namespace vk930
