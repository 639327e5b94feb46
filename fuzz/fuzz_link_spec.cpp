// Link specs (--link, the Devices settings) on any text: parsing never crashes and gives the
// same answer twice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/terminal/link_spec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vk930::Result<vk930::LinkSpec> first = vk930::ParseLinkSpec(text);
    const vk930::Result<vk930::LinkSpec> second = vk930::ParseLinkSpec(text);
    if (first.ok() != second.ok() || first.error() != second.error()) std::abort();
    return 0;
}
