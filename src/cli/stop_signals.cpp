#include "cli/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "cli/exit_status.h"
#include "core/base/pending_files.h"

namespace vk930 {

namespace {

// A signal handler reaches only process-wide data: the request to set and a count.
std::atomic<StopRequest*> stopTarget{nullptr};
std::atomic<int> stopSignals{0};
static_assert(std::atomic<StopRequest*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

void OnStopSignal(int) {
    if (stopSignals.fetch_add(1) == 0) {
        if (StopRequest* stop = stopTarget.load()) stop->Request();
        return;
    }
    TemporaryFiles().ForEach([](const char* path) { unlink(path); });
    _exit(kExitInterrupted);
}

}  // namespace

StopSignals::StopSignals(StopRequest& stop) {
    stopTarget.store(&stop);
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // The link call in progress completes: interrupted reads and writes are restarted.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() {
    stopTarget.store(nullptr);
}

void TakeClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor is fd itself; opened for reading, writes to it fail.
        const int placeholder = open("/dev/null", O_RDONLY);
        if (placeholder != fd && placeholder >= 0) close(placeholder);
    }
}

}  // namespace vk930
