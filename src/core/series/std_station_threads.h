#pragma once
// Series stations on plain standard threads, for front ends whose serial ports need no thread
// of a toolkit's (the Win32 window's COM ports).
#include <thread>
#include <vector>

#include "core/series/series_job.h"

namespace vk930 {

class StdStationThreads : public StationThreads {
  public:
    StdStationThreads() = default;
    // A body still running is waited for: a station's thread never outlives its parts.
    ~StdStationThreads() override { JoinAll(); }
    StdStationThreads(const StdStationThreads&) = delete;
    StdStationThreads& operator=(const StdStationThreads&) = delete;

    void Start(std::function<void()> body) override;
    void JoinAll() override;

  private:
    std::vector<std::thread> threads_;
};

}  // namespace vk930
