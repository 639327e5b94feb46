#pragma once
// The Win32 window's JobRunner: terminal jobs on one thread of their own for the window's
// life (a COM port opened by one job is used by the next on that thread), so that the window
// keeps painting while a job waits for the terminal. A job's end is posted to the GUI thread.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "core/app/front_end.h"
#include "win32window/gui_thread.h"

namespace vk930 {

class Win32JobRunner : public JobRunner {
  public:
    // Made on the GUI thread, whose calls `gui` carries.
    explicit Win32JobRunner(GuiThread& gui);
    // Waits for a job still running, serving the GUI thread meanwhile, and ends the thread.
    ~Win32JobRunner() override;
    Win32JobRunner(const Win32JobRunner&) = delete;
    Win32JobRunner& operator=(const Win32JobRunner&) = delete;

    bool Start(std::function<void()> job, std::function<void()> done) override;
    bool Running() const override { return running_; }
    void RunAndWait(const std::function<void()>& call) override;
    // Serves the GUI thread's messages until the running job (if any) has ended.
    void WaitForIdle();

  private:
    void Serve();
    // Hands `work` to the job thread, which is idle when this is called.
    void Hand(std::function<void()> work);

    GuiThread& gui_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<void()> work_;  // the next call for the job thread; empty: none
    bool quit_ = false;
    bool running_ = false;  // read and written on the GUI thread only
    std::thread thread_;
};

}  // namespace vk930
