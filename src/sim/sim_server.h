#pragma once
// The loop of vk930-sim: serves one terminal model on a pseudo-terminal until it is told to
// stop. Hosts come and go (a host closing the port is not an error); the baud a host sets
// picks the terminal's mode: 19200 the application protocol, 4800 the boot loader.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/terminal/boot_wire_terminal.h"
#include "core/terminal/terminal_model.h"
#include "core/terminal/wire_terminal.h"
#include "sim/line_pacer.h"
#include "sim/pty_endpoint.h"

namespace vk930 {

// How long one wait for bytes or a stop signal lasts.
inline constexpr int kSimPollMs = 20;
// How long to wait between looks for a new host while none has the port open.
inline constexpr int kSimIdleMs = 10;

class SimServer {
  public:
    // Remarks for the user while it runs (a stale link it replaced).
    using NoticeSink = std::function<void(const std::string&)>;

    SimServer(TerminalModel& terminal, bool pace, WireServer::TraceSink trace);

    // Opens the pseudo-terminal with its link and serves until `stopFd` becomes readable or
    // the wire fault `hangup` takes the device away. The error says why it could not start.
    Status Run(const std::string& linkPath, int stopFd, const NoticeSink& notice = {});
    bool HungUp() const { return hungUp_; }
    // Bytes taken from and sent to the host so far (the line's load, for benchmarks).
    std::uint64_t BytesTaken() const { return bytesTaken_; }
    std::uint64_t BytesSent() const { return bytesSent_; }
    const std::string& SlavePath() const { return pty_.SlavePath(); }

  private:
    void Step(int stopFd);
    void WaitForHost(int stopFd);
    // Enters or leaves the boot loader as the host's baud says.
    void FollowBaud(int baud);
    void SendWaitingByte(int baud);
    void Receive(const Bytes& bytes, int baud);
    void Send(const Bytes& bytes, int baud);

    TerminalModel& terminal_;
    PtyEndpoint pty_;
    LinePacer pacer_;
    std::uint64_t bytesTaken_ = 0;
    std::uint64_t bytesSent_ = 0;
    WireTerminal wire_;
    std::unique_ptr<BootWireTerminal> boot_;  // while the host has the port at 4800
    std::chrono::steady_clock::time_point nextWaitingByte_{};
    bool stopped_ = false;
    bool hungUp_ = false;
};

}  // namespace vk930
