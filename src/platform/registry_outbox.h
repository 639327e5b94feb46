#pragma once
// The records of a bench that its shared registry has not received yet, one JSON line each,
// kept in a file of the state folder until the registry is back. Any number of processes add
// to it and send from it at once: each takes the file's advisory lock, and lines are removed
// only after the registry has stored them, so none is lost, and none is sent twice (a line
// carries its record's uuid, which the registry keeps once).
#include <QByteArray>
#include <functional>
#include <string>
#include <vector>

#include "core/base/result.h"

namespace vk930 {

class RegistryOutbox {
  public:
    explicit RegistryOutbox(std::string path) : path_(std::move(path)) {}

    // Keeps one line (no line end) until it is sent.
    Status Add(const QByteArray& line);
    // Hands every waiting line to `send` under the lock; when `send` succeeds they are removed.
    // Nothing waiting is success without a call. Errors: the file cannot be read or emptied,
    // or what `send` gave.
    using Sender = std::function<Status(const std::vector<QByteArray>& lines)>;
    Status SendWaiting(const Sender& send);
    // How many lines wait (0 when the file cannot be read).
    long long Count() const;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace vk930
