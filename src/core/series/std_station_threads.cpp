// Series stations on standard threads.
#include "core/series/std_station_threads.h"

namespace vk930 {

void StdStationThreads::Start(std::function<void()> body) {
    threads_.emplace_back(std::move(body));
}

void StdStationThreads::JoinAll() {
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
}

}  // namespace vk930
