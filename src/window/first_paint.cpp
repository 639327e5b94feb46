#include "window/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <ctime>

namespace vk930 {

namespace {

// Sees the window's first expose event; the paint that answers it is over when the event
// loop next runs its zero timers.
class ExposeWatcher : public QObject {
  public:
    explicit ExposeWatcher(std::function<void()> done) : done_(std::move(done)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && done_) {
            QTimer::singleShot(0, std::exchange(done_, nullptr));
            deleteLater();
        }
        return false;
    }

  private:
    std::function<void()> done_;
};

}  // namespace

void WhenFirstPainted(QWidget& window, std::function<void()> done) {
    window.winId();  // makes the native window, so that there is one to watch
    auto* watcher = new ExposeWatcher(std::move(done));
    watcher->setParent(window.windowHandle());
    window.windowHandle()->installEventFilter(watcher);
}

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace vk930
