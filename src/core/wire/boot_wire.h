#pragma once
// The boot loader's side of the wire protocol at 4800 baud (docs/protocol.md): the waiting
// byte, the sync and its answer, then framed requests as in the application mode.
#include <chrono>
#include <cstdint>
#include <span>

#include "core/firmware/boot_loader.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

namespace boot {

inline constexpr std::uint8_t kWaiting = 0x00;  // sent by the waiting boot loader
inline constexpr std::uint8_t kSync = 0x55;     // the host's sync
inline constexpr std::uint8_t kSyncAnswer = 0xAA;

// Framed requests once synced (command codes up to 0x3F, as in the application mode).
// Answers: status only (wire::kStatusOk or kStatusRefused).
inline constexpr std::uint8_t kBootBlock = 0x38;   // address (uint32), bytes: of the boot file
inline constexpr std::uint8_t kBootRun = 0x39;     // the boot file is whole: run it (stage 1)
inline constexpr std::uint8_t kErase = 0x3A;       // erase the flash (stage 2)
inline constexpr std::uint8_t kWriteBlock = 0x3B;  // address (uint32), bytes (stage 3)
inline constexpr std::uint8_t kVerify = 0x3C;      // byte count, CRC-32 (uint32 each), version

// Bytes of the boot file per kBootBlock.
inline constexpr std::size_t kBootBlockSize = 256;

// Time the boot loader may take to show that it waits (its first 0x00).
inline constexpr std::chrono::milliseconds kReadyTimeout{3000};
// Time for the 0xAA after a sync, and syncs sent before giving up.
inline constexpr std::chrono::milliseconds kSyncTimeout{300};
inline constexpr int kSyncAttempts = 3;
// Time the terminal may take beyond the usual answer time to erase its flash, and to check it.
inline constexpr std::chrono::milliseconds kEraseTime{5000};
inline constexpr std::chrono::milliseconds kVerifyTime{2000};
// How often the waiting boot loader sends its 0x00.
inline constexpr std::chrono::milliseconds kWaitingInterval{50};

struct Timings {
    std::chrono::milliseconds ready = kReadyTimeout;
    std::chrono::milliseconds sync = kSyncTimeout;
    int syncAttempts = kSyncAttempts;
    std::chrono::milliseconds erase = kEraseTime;
    std::chrono::milliseconds verify = kVerifyTime;
};

void PutUint32(Bytes& out, std::uint32_t value);
std::uint32_t GetUint32(const Bytes& in, std::size_t at);

// CRC-32 (IEEE 802.3: reflected polynomial 0xEDB88320, initial and final XOR 0xFFFFFFFF;
// "123456789" gives 0xCBF43926) over each segment's address (4 bytes, low first), then its
// bytes, in order: what the host and the flash must agree on.
std::uint32_t ImageCrc32(const FirmwareImage& image);
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace boot

}  // namespace vk930
