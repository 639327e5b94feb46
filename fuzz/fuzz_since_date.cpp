// The DATE of history --since on any text: parsing never crashes, and a date it accepts is a
// valid time that reads back the same from its own ISO form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cli/since_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QDateTime> since = vk930::ParseSinceDate(text);
    if (!since) return 0;
    if (!since->isValid()) std::abort();
    if (vk930::ParseSinceDate(since->toString("yyyy-MM-ddTHH:mm:ss")) != since) std::abort();
    return 0;
}
