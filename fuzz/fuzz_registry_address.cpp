// Registry addresses on any text: parsing never crashes; masking is stable (a masked address
// masked again is the same) and a parsed password never shows in the masked text or in the
// address as messages show it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/postgres_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string masked = vk930::MaskedAddress(text);
    if (vk930::MaskedAddress(masked) != masked) std::abort();
    const vk930::Result<vk930::PostgresAddress> parsed = vk930::ParsePostgresAddress(text);
    if (!parsed) return 0;
    // A password of several characters that appears nowhere else in the address.
    const std::string& password = parsed.value().password;
    if (password.size() < 4 || text.find(password) != text.rfind(password)) return 0;
    if (password.find('*') != std::string::npos) return 0;  // the mask may stand in it
    if (text.find("%") != std::string::npos) return 0;      // decoded: may differ from the text
    if (masked.find(password) != std::string::npos) std::abort();
    return 0;
}
