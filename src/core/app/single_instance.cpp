// The one-window-per-settings-file rule's channel name.
#include "core/app/single_instance.h"

#include <cstdint>
#include <cstdio>

namespace vk930 {

namespace {

// FNV-1a, 64 bits: small, fixed by its definition, so both starts compute the same name.
std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

std::string InstanceName(const std::string& settingsPath) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a(settingsPath)));
    return "vk930config-" + std::string(hex, 12);
}

}  // namespace vk930
