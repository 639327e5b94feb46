#pragma once
// Notices when a window has been shown and painted for the first time (start-up benchmark).
#include <QObject>
#include <functional>

class QWidget;

namespace vk930 {

// Calls `done` once, after the window's first exposure has been painted.
void WhenFirstPainted(QWidget& window, std::function<void()> done);

// Nanoseconds of the monotonic clock that all processes of the machine share.
long long MonotonicNanoseconds();

}  // namespace vk930
