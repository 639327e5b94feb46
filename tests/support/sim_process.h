#pragma once
// A vk930-sim process serving a terminal on a pseudo-terminal linked at a path, for the
// tests that run the serial link end to end. Stopped (SIGTERM) when destroyed.
#include <sys/types.h>

#include <string>

namespace vk930::test {

class SimProcess {
  public:
    // Starts `program --link linkPath [--pace] spec` and waits until the link is there.
    SimProcess(const std::string& program, const std::string& linkPath, const std::string& spec,
               bool pace = false);
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the link appeared (false: the program failed to start; see Errors()).
    bool Ready() const { return ready_; }
    // Stops it and returns its exit status (128 + signal when a signal ended it).
    int Stop();
    // Ends it with SIGKILL, as a crash would: it cannot remove its link. Returns 128 + 9.
    int Kill();
    // Waits a while for it to end by itself (after a hang-up), else stops it; returns its exit
    // status.
    int Wait();
    // What it printed on standard error so far.
    std::string Errors() const;
    // Waits a while until its standard error holds `text`; false when it never did.
    bool WaitForErrors(const std::string& text) const;

  private:
    int Reap(int options);

    std::string errPath_;
    pid_t pid_ = -1;
    int status_ = -1;
    bool ready_ = false;
};

}  // namespace vk930::test
