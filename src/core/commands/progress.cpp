#include "core/commands/progress.h"

#include <cstdio>

namespace vk930 {

UploadProgress UploadProgressTo(Host& host) {
    return [&host](std::size_t sent, std::size_t total) {
        host.Progress({ProgressKind::kUpload, sent, total});
    };
}

std::string TimeLeftText(std::size_t done, std::size_t total, std::chrono::milliseconds elapsed) {
    if (done >= total) return "0:00";
    if (done == 0 || elapsed.count() <= 0) return "-:--";
    const double perUnit = static_cast<double>(elapsed.count()) / static_cast<double>(done);
    const auto seconds =
        static_cast<long long>(perUnit * static_cast<double>(total - done) / 1000.0 + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace vk930
