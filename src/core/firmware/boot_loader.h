#pragma once
// The terminal's boot loader as the host drives it, one step per call. The simulated
// terminal implements the terminal's side; the serial link implements it over the wire; the
// upload procedure (finding and reading the files, the order of the steps, the statuses) is
// shared by both.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/link/link_ctrl.h"

namespace vk930 {

// A load image: contiguous runs of bytes at their addresses, in ascending address order.
struct ImageSegment {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const ImageSegment&) const = default;
};
struct FirmwareImage {
    std::vector<ImageSegment> segments;
    std::size_t ByteCount() const {
        std::size_t n = 0;
        for (const auto& s : segments) n += s.bytes.size();
        return n;
    }
    bool operator==(const FirmwareImage&) const = default;
};

class BootLoaderChannel {
  public:
    virtual ~BootLoaderChannel() = default;
    // The terminal waits in its boot loader, sending 0x00.
    virtual bool AwaitReady() = 0;
    // The host's sync; the boot loader answers 0xAA.
    virtual bool Sync() = 0;
    // Stage 1: the boot file, which the boot loader runs to take the image.
    virtual bool SendBootFile(const FirmwareImage& boot) = 0;
    // Stage 2: erase the flash.
    virtual bool Erase() = 0;
    // Stage 3: one block of the image.
    virtual bool WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) = 0;
    // The flash holds exactly `image`; `version` is what the terminal reports from now on
    // (empty: the version it reported before stays).
    virtual bool Verify(const FirmwareImage& image, const std::string& version) = 0;
};

}  // namespace vk930
