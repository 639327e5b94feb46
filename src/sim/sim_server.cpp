#include "sim/sim_server.h"

#include <poll.h>

#include "core/link/link_ctrl.h"
#include "core/wire/boot_wire.h"

namespace vk930 {

SimServer::SimServer(TerminalModel& terminal, bool pace, WireServer::TraceSink trace)
    : terminal_(terminal), pacer_(pace), wire_(terminal, terminal.Spec().wire, std::move(trace)) {}

Status SimServer::Run(const std::string& linkPath, int stopFd, const NoticeSink& notice) {
    if (Status opened = pty_.Open(linkPath); !opened) {
        pty_.Close();
        return opened;
    }
    if (const std::optional<std::string>& replaced = pty_.ReplacedTarget(); replaced && notice)
        notice("replaced the stale link '" + linkPath + "' (it pointed to '" + *replaced +
               "', no live pseudo-terminal)");
    while (!stopped_) Step(stopFd);
    pty_.Close();
    return {};
}

void SimServer::WaitForHost(int stopFd) {
    wire_.Disconnected();
    boot_.reset();
    pollfd stop{stopFd, POLLIN, 0};
    if (poll(&stop, 1, kSimIdleMs) > 0) stopped_ = true;
}

void SimServer::Step(int stopFd) {
    pollfd fds[2] = {{pty_.Fd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
    if (poll(fds, 2, kSimPollMs) < 0) return;
    if (fds[1].revents & POLLIN) {
        stopped_ = true;
        return;
    }
    if (fds[0].revents & POLLHUP) return WaitForHost(stopFd);
    const int baud = pty_.HostBaud();
    FollowBaud(baud);
    SendWaitingByte(baud);
    if (!(fds[0].revents & POLLIN)) return;
    Bytes received;
    switch (pty_.Read(received)) {
        case PtyRead::kClientGone:
            return WaitForHost(stopFd);
        case PtyRead::kNothing:
            return;
        case PtyRead::kData:
            break;
    }
    Receive(received, baud);
}

void SimServer::FollowBaud(int baud) {
    const bool bootBaud = baud == kBaudBootLoader;
    if (bootBaud && !boot_) {
        boot_ = std::make_unique<BootWireTerminal>(terminal_, wire_.Faults());
        nextWaitingByte_ = {};
    } else if (!bootBaud && boot_) {
        boot_.reset();  // the terminal restarts into its application
    }
}

void SimServer::SendWaitingByte(int baud) {
    if (!boot_ || !boot_->Waiting()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextWaitingByte_) return;
    nextWaitingByte_ = now + boot::kWaitingInterval;
    Send({boot::kWaiting}, baud);
}

void SimServer::Receive(const Bytes& bytes, int baud) {
    pacer_.Take(bytes.size(), baud);
    bytesTaken_ += bytes.size();
    if (!boot_ && baud != kBaudApplication) return;  // no terminal listens at other rates
    const WireOutput out = boot_ ? boot_->Receive(bytes) : wire_.Receive(bytes);
    if (out.hangup) {
        pty_.Close();
        hungUp_ = true;
        stopped_ = true;
        return;
    }
    Send(out.bytes, baud);
}

void SimServer::Send(const Bytes& bytes, int baud) {
    if (bytes.empty()) return;
    bytesSent_ += bytes.size();
    pacer_.Send(bytes.data(), bytes.size(), baud,
                [this](const std::uint8_t* b, std::size_t n) { return pty_.Write(b, n); });
}

}  // namespace vk930
