#include "core/wire/boot_wire.h"

namespace vk930::boot {

void PutUint32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

std::uint32_t GetUint32(const Bytes& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | in[at + static_cast<std::size_t>(i)];
    return value;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    crc = ~crc;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

std::uint32_t ImageCrc32(const FirmwareImage& image) {
    std::uint32_t crc = 0;
    for (const ImageSegment& segment : image.segments) {
        Bytes address;
        PutUint32(address, segment.address);
        crc = Crc32(address, crc);
        crc = Crc32(segment.bytes, crc);
    }
    return crc;
}

}  // namespace vk930::boot
