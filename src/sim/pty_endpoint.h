#pragma once
// The simulator's end of a pseudo-terminal: the master side, in raw mode, with a symbolic
// link to the slave device that hosts open as their serial port. The master shows the baud
// the host set (a master's termios mirror the slave's) and whether a host has the slave open.
#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

enum class PtyRead { kData, kNothing, kClientGone };

class PtyEndpoint {
  public:
    PtyEndpoint() = default;
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    // Opens the master and makes `linkPath` a symbolic link to the slave. A symbolic link to no
    // live pseudo-terminal (left by a simulator that was killed) is replaced; a link to a live
    // one, or anything that is no symbolic link, is an error (sim/link_path.h).
    Status Open(const std::string& linkPath);
    // Where the link that Open replaced pointed; empty when it replaced none.
    const std::optional<std::string>& ReplacedTarget() const { return replacedTarget_; }
    // Closes the master and removes the link: to every host the device is gone.
    void Close();
    bool IsOpen() const { return master_ >= 0; }
    int Fd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    // The baud the host set on the slave (0 when it is not one of the usual rates).
    int HostBaud() const;
    // True while a host has the slave open (the master hangs up when the last one closes).
    bool ClientPresent() const;
    PtyRead Read(Bytes& out);
    // Sends everything; false when the host went away meanwhile.
    bool Write(const std::uint8_t* bytes, std::size_t count);

  private:
    int master_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::optional<std::string> replacedTarget_;
};

}  // namespace vk930
