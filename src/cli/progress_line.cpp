#include "cli/progress_line.h"

#include <algorithm>

#include "core/commands/progress.h"

namespace vk930 {

namespace {

std::string Bar(std::size_t sent, std::size_t total) {
    const std::size_t filled =
        total == 0 ? kProgressBarWidth : std::min(sent, total) * kProgressBarWidth / total;
    return "[" + std::string(filled, '#') + std::string(kProgressBarWidth - filled, '.') + "]";
}

}  // namespace

std::string ProgressLine(std::size_t sent, std::size_t total, std::chrono::milliseconds elapsed) {
    return Bar(sent, total) + "  " + std::to_string(sent) + "/" + std::to_string(total) +
           " bytes  " + TimeLeftText(sent, total, elapsed) + " left";
}

}  // namespace vk930
