// Series stations on QThreads.
#include "platform/qt_station_threads.h"

namespace vk930 {

void QtStationThreads::Start(std::function<void()> body) {
    threads_.emplace_back(QThread::create(std::move(body)));
    threads_.back()->start();
}

void QtStationThreads::JoinAll() {
    for (auto& thread : threads_) thread->wait();
}

}  // namespace vk930
