// The job thread and its hand-over.
#include "win32window/job_thread.h"

namespace vk930 {

Win32JobRunner::Win32JobRunner(GuiThread& gui) : gui_(gui), thread_([this] { Serve(); }) {}

Win32JobRunner::~Win32JobRunner() {
    WaitForIdle();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Win32JobRunner::Serve() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || work_; });
            if (!work_) return;  // quit with nothing left to do
            work = std::move(work_);
            work_ = nullptr;
        }
        work();
    }
}

void Win32JobRunner::Hand(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_ = std::move(work);
    }
    wake_.notify_one();
}

bool Win32JobRunner::Start(std::function<void()> job, std::function<void()> done) {
    if (running_) return false;
    running_ = true;
    Hand([this, job = std::move(job), done = std::move(done)]() mutable {
        job();
        // The end runs on the GUI thread, after every call the job sent there.
        const bool posted = gui_.Post([this, done = std::move(done)] {
            running_ = false;
            if (done) done();
        });
        // Without its window (the program is going) nobody waits for `done`; only for the end.
        if (!posted) gui_.Send([this] { running_ = false; });
    });
    return true;
}

void Win32JobRunner::RunAndWait(const std::function<void()>& call) {
    if (running_) return;
    bool finished = false;
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    Hand([&] {
        call();
        std::lock_guard lock(doneMutex);
        finished = true;
        doneSignal.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return finished; });
}

void Win32JobRunner::WaitForIdle() {
    // A job still running may be sending calls to the GUI thread: serve them until it ends.
    PumpUntil([this] { return !running_; });
}

}  // namespace vk930
