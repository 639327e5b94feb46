#pragma once
// SHA-256 (FIPS 180-4) of bytes in memory, for the digests the service records carry of the
// files they name, on systems whose program has no library for it (the Win32 window).
#include <string>
#include <string_view>

namespace vk930 {

// The digest in lower-case hex.
std::string Sha256Hex(std::string_view bytes);

}  // namespace vk930
