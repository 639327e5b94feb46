// A wait that a stop request ends early.
#include "core/commands/stop_request.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace vk930 {

namespace {
constexpr auto kSleepSlice = std::chrono::milliseconds(10);
}  // namespace

void SleepUnlessStopped(int milliseconds, const StopRequest* stop) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!(stop && stop->Requested())) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) return;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kSleepSlice, until - now));
    }
}

}  // namespace vk930
