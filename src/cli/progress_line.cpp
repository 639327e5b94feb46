#include "cli/progress_line.h"

#include <algorithm>
#include <cstdio>

namespace vk930 {

namespace {

std::string Bar(std::size_t sent, std::size_t total) {
    const std::size_t filled =
        total == 0 ? kProgressBarWidth : std::min(sent, total) * kProgressBarWidth / total;
    return "[" + std::string(filled, '#') + std::string(kProgressBarWidth - filled, '.') + "]";
}

std::string TimeLeft(std::size_t sent, std::size_t total, std::chrono::milliseconds elapsed) {
    if (sent >= total) return "0:00";
    if (sent == 0 || elapsed.count() <= 0) return "-:--";
    const double perByte = static_cast<double>(elapsed.count()) / static_cast<double>(sent);
    const auto seconds =
        static_cast<long long>(perByte * static_cast<double>(total - sent) / 1000.0 + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

std::string ProgressLine(std::size_t sent, std::size_t total, std::chrono::milliseconds elapsed) {
    return Bar(sent, total) + "  " + std::to_string(sent) + "/" + std::to_string(total) +
           " bytes  " + TimeLeft(sent, total, elapsed) + " left";
}

}  // namespace vk930
