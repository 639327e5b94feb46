// The Intel HEX reader on any text: it never crashes, and an image it accepts is written and
// read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/firmware/intel_hex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vk930::Result<vk930::FirmwareImage> image = vk930::ParseIntelHex(text);
    if (!image) return 0;
    if (image->ByteCount() == 0) std::abort();  // "no data" must be an error
    vk930::Result<vk930::FirmwareImage> again = vk930::ParseIntelHex(vk930::WriteIntelHex(*image));
    if (!again || !(*again == *image)) std::abort();
    return 0;
}
