#pragma once
// Runs the terminal commands on a thread of their own, one at a time, so that the window
// keeps painting while a command waits for the terminal. The command reaches the window only
// through the host, which hands each call to the GUI thread and waits for it there, so the
// order of link calls, waits and log entries is the command's own.
//
// The thread lives as long as the runner: a serial port opened by one command is used by the
// next one on the same thread.
#include <QObject>
#include <QThread>
#include <functional>

#include "core/app/front_end.h"

namespace vk930 {

class CommandRunner : public QObject, public JobRunner {
    Q_OBJECT
  public:
    CommandRunner();
    ~CommandRunner() override;

    // Starts the command on the command thread; `done` runs on the GUI thread once it has
    // returned. False (and nothing runs) while one is running.
    bool Start(std::function<void()> command, std::function<void()> done) override;
    bool Running() const override { return running_; }
    // Serves the GUI thread's events until the running command (if any) has returned.
    void WaitForIdle();
    // Runs a call on the command thread and waits for it; only while no command runs.
    void RunAndWait(const std::function<void()>& call) override;

  private:
    QThread thread_;
    QObject* worker_;  // lives on thread_
    bool running_ = false;
};

}  // namespace vk930
