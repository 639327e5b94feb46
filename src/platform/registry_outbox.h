#pragma once
// The records of a bench that its shared registry has not received yet, one JSON line each,
// kept in a file of the state folder until the registry is back. Any number of processes add
// to it and send from it at once: each takes the file's advisory lock only to read or rewrite
// the file, never while the lines travel to the server, so a slow server stalls no other
// process of the bench. Lines are removed only after the registry has stored them, so none is
// lost, and none is stored twice (a line carries its record's uuid, which the registry keeps
// once; two processes may send the same line). A line the registry refuses is moved to a file
// of refused records beside the outbox, with the reason, so it holds up no later record.
#include <QByteArray>
#include <functional>
#include <string>
#include <vector>

#include "core/base/result.h"

namespace vk930 {

class RegistryOutbox {
  public:
    explicit RegistryOutbox(std::string path);

    // Keeps one line (no line end) until it is sent.
    Status Add(const QByteArray& line);

    // What a send did with the lines it was given: those the registry refused, by their index
    // in the lines, with its reason. Every other line was stored.
    struct Refusal {
        std::size_t line = 0;
        std::string reason;
    };
    using Refusals = std::vector<Refusal>;
    using Sender = std::function<Result<Refusals>(const std::vector<QByteArray>& lines)>;
    // Hands every waiting line to `send`, the file unlocked meanwhile; when `send` succeeds the
    // lines are removed (the refused ones kept among the refused records). Nothing waiting is
    // success without a call. Errors: a file cannot be read or rewritten, or what `send` gave.
    Status SendWaiting(const Sender& send);

    // How many lines wait, and how many the registry refused (0 when a file cannot be read).
    long long Count() const;
    long long RefusedCount() const;
    const std::string& Path() const { return path_; }
    const std::string& RefusedPath() const { return refusedPath_; }

  private:
    std::string path_;
    std::string refusedPath_;
};

}  // namespace vk930
