#pragma once
// The requests and answers of the terminal's application mode (docs/protocol.md). The serial
// link sends them; the simulator answers them.
#include <cstdint>
#include <optional>
#include <string>

#include "core/wire/wire_frame.h"

namespace vk930 {

namespace wire {

// Request commands. An answer carries the request's command with kAnswerFlag set, the
// request's sequence number (the host counts 0 to 255 and round again), and a status byte
// first in its payload.
inline constexpr std::uint8_t kReadInfo = 0x01;       // -> device type (int16), version text
inline constexpr std::uint8_t kGetDeviceType = 0x02;  // -> int16
inline constexpr std::uint8_t kGetVersion = 0x03;     // -> version text
inline constexpr std::uint8_t kGetCommId = 0x04;      // -> CommID high byte, low byte
inline constexpr std::uint8_t kReadPage = 0x10;       // page (1 byte) -> 256 bytes
inline constexpr std::uint8_t kWriteByte = 0x20;      // page, offset, value (int16 each)
inline constexpr std::uint8_t kWriteText = 0x21;      // page, offset (int16 each), bytes
inline constexpr std::uint8_t kReset = 0x30;          // answered, then the terminal restarts
inline constexpr std::uint8_t kAnswerFlag = 0x80;

// Answer statuses.
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusUnknownCommand = 0x01;
inline constexpr std::uint8_t kStatusMalformed = 0x02;  // payload of the wrong length
inline constexpr std::uint8_t kStatusRefused = 0x03;    // not done: bad address, write failed

// Set in a request sent again because its answer did not come: the terminal answers it from
// memory when it is the request it did last (same sequence number, command and payload),
// and does it only when it never got the first send. A request without the flag is always
// done.
inline constexpr std::uint8_t kRepeatFlag = 0x40;
inline constexpr std::uint8_t kCommandMask = 0x3F;

inline void PutInt16(Bytes& out, int value) {
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline std::int16_t GetInt16(const Bytes& in, std::size_t at) {
    return static_cast<std::int16_t>(in[at] | (in[at + 1] << 8));
}

}  // namespace wire

}  // namespace vk930
