#pragma once
// Series stations on QThreads: the Qt serial port watches its device with socket notifiers,
// which Qt keeps only on threads it started.
#include <QThread>
#include <memory>
#include <vector>

#include "core/series/series_job.h"

namespace vk930 {

class QtStationThreads : public StationThreads {
  public:
    ~QtStationThreads() override { JoinAll(); }
    void Start(std::function<void()> body) override;
    void JoinAll() override;

  private:
    std::vector<std::unique_ptr<QThread>> threads_;
};

}  // namespace vk930
