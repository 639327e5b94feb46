#pragma once
// The loop of vk930-sim: serves one terminal model on a pseudo-terminal until it is told to
// stop. Hosts come and go (a host closing the port is not an error); the baud a host sets
// picks the terminal's mode: 19200 the application protocol, 4800 the boot loader.
#include <memory>
#include <string>

#include "sim/line_pacer.h"
#include "sim/pty_endpoint.h"
#include "sim/terminal_model.h"
#include "sim/wire_terminal.h"

namespace vk930 {

// How long one wait for bytes or a stop signal lasts.
inline constexpr int kSimPollMs = 20;
// How long to wait between looks for a new host while none has the port open.
inline constexpr int kSimIdleMs = 10;

class SimServer {
  public:
    SimServer(TerminalModel& terminal, bool pace, WireServer::TraceSink trace);

    // Opens the pseudo-terminal with its link and serves until `stopFd` becomes readable or
    // the wire fault `hangup` takes the device away. The error says why it could not start.
    Status Run(const std::string& linkPath, int stopFd);
    bool HungUp() const { return hungUp_; }
    const std::string& SlavePath() const { return pty_.SlavePath(); }

  private:
    void Step(int stopFd);
    void WaitForHost(int stopFd);
    void Receive(const Bytes& bytes, int baud);
    void Send(const Bytes& bytes, int baud);

    TerminalModel& terminal_;
    PtyEndpoint pty_;
    LinePacer pacer_;
    WireTerminal wire_;
    bool stopped_ = false;
    bool hungUp_ = false;
};

}  // namespace vk930
