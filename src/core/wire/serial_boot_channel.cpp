#include "core/wire/serial_boot_channel.h"

#include <algorithm>

namespace vk930 {

bool SerialBootChannel::AwaitByte(std::uint8_t wanted, Millis timeout) {
    const Millis deadline = port_.Now() + timeout;
    for (Millis now = port_.Now(); now < deadline; now = port_.Now()) {
        Result<Bytes> received = port_.Read(deadline - now);
        if (!received) return false;
        if (std::find(received->begin(), received->end(), wanted) != received->end()) return true;
    }
    return false;
}

bool SerialBootChannel::AwaitReady() {
    if (!listening_ || !port_.IsOpen()) return false;
    port_.DiscardInput();
    return AwaitByte(boot::kWaiting, timings_.ready);
}

bool SerialBootChannel::Sync() {
    const std::uint8_t sync = boot::kSync;
    for (int attempt = 0; attempt < timings_.syncAttempts; ++attempt) {
        port_.DiscardInput();
        if (!port_.Write(std::span(&sync, 1))) return false;
        if (AwaitByte(boot::kSyncAnswer, timings_.sync)) return true;
    }
    return false;
}

bool SerialBootChannel::Done(std::uint8_t command, const Bytes& payload, Millis extra) {
    return client_.Transact(command, payload, extra).ok();
}

bool SerialBootChannel::Block(std::uint8_t command, std::uint32_t address,
                              std::span<const std::uint8_t> bytes) {
    Bytes payload;
    boot::PutUint32(payload, address);
    payload.insert(payload.end(), bytes.begin(), bytes.end());
    return Done(command, payload);
}

bool SerialBootChannel::SendBootFile(const FirmwareImage& image) {
    for (const ImageSegment& segment : image.segments) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        for (std::size_t at = 0; at < bytes.size(); at += boot::kBootBlockSize) {
            const auto piece = bytes.subspan(at, std::min(boot::kBootBlockSize, bytes.size() - at));
            if (!Block(boot::kBootBlock, segment.address + static_cast<std::uint32_t>(at), piece))
                return false;
        }
    }
    return Done(boot::kBootRun, {});
}

bool SerialBootChannel::Erase() {
    return Done(boot::kErase, {}, timings_.erase);
}

bool SerialBootChannel::WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    return Block(boot::kWriteBlock, address, bytes);
}

bool SerialBootChannel::Verify(const FirmwareImage& image, const std::string& version) {
    Bytes payload;
    boot::PutUint32(payload, static_cast<std::uint32_t>(image.ByteCount()));
    boot::PutUint32(payload, boot::ImageCrc32(image));
    payload.insert(payload.end(), version.begin(), version.end());
    return Done(boot::kVerify, payload, timings_.verify);
}

}  // namespace vk930
