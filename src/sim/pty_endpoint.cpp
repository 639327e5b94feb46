#include "sim/pty_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "sim/link_path.h"

namespace vk930 {

namespace {

// How long a write waits for a host that does not read.
constexpr int kWriteWaitMs = 1000;

Error SystemError(const std::string& what) {
    return Error{what + ": " + std::strerror(errno)};
}

int BaudOf(speed_t speed) {
    switch (speed) {
        case B1200:
            return 1200;
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

}  // namespace

PtyEndpoint::~PtyEndpoint() {
    Close();
}

Status PtyEndpoint::Open(const std::string& linkPath) {
    replacedTarget_.reset();
    // Judged before the master is opened: the new pseudo-terminal may get the number of the
    // one a stale link points to.
    const LinkInspection inspection = InspectLinkPath(linkPath);
    if (Status free = CheckLinkPlace(linkPath, inspection); !free) return free;
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) return SystemError("cannot open a pseudo-terminal");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) return SystemError("cannot unlock it");
    termios raw{};
    if (tcgetattr(master_, &raw) != 0) return SystemError("cannot read its settings");
    cfmakeraw(&raw);
    cfsetspeed(&raw, B19200);
    if (tcsetattr(master_, TCSANOW, &raw) != 0) return SystemError("cannot set raw mode");
    slavePath_ = ptsname(master_);
    if (Status linked = MakeDeviceLink(slavePath_, linkPath, inspection); !linked) return linked;
    linkPath_ = linkPath;
    if (inspection.place == LinkPlace::kStale) replacedTarget_ = inspection.target;
    return {};
}

void PtyEndpoint::Close() {
    if (master_ >= 0) close(master_);
    master_ = -1;
    if (!linkPath_.empty()) {
        std::error_code ec;
        std::filesystem::remove(linkPath_, ec);
        linkPath_.clear();
    }
}

int PtyEndpoint::HostBaud() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) return 0;
    return BaudOf(cfgetospeed(&settings));
}

bool PtyEndpoint::ClientPresent() const {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, 0) < 0) return false;
    return (fd.revents & POLLHUP) == 0;
}

PtyRead PtyEndpoint::Read(Bytes& out) {
    std::uint8_t buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) {
        out.assign(buffer, buffer + n);
        return PtyRead::kData;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return PtyRead::kNothing;
    return PtyRead::kClientGone;  // EIO: no host has the slave open
}

bool PtyEndpoint::Write(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t n = write(master_, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        pollfd fd{master_, POLLOUT, 0};
        if (poll(&fd, 1, kWriteWaitMs) <= 0 || (fd.revents & POLLHUP)) return false;
    }
    return true;
}

}  // namespace vk930
