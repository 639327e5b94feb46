#pragma once
// The first contact with a registry's server, made with libpq's non-blocking connect: one wait
// in all however many addresses a host name has, a stop that ends the wait at once, and a
// login the server refused told apart from a server that cannot be reached. Qt's driver then
// opens its own connection to a server known to answer.
#include <chrono>
#include <functional>
#include <string>

#include "platform/postgres_address.h"

namespace vk930 {

enum class ReachProblem {
    kNone,
    kUnreachable,      // no answer, refused, no such host: the server or the way to it
    kTimedOut,         // no answer within the wait
    kLoginRefused,     // the server answered and refused the user or password
    kPasswordMissing,  // the server asks for a password and none is given
    kStopped,          // a stop was asked for while waiting
};

struct ReachResult {
    ReachProblem problem = ReachProblem::kNone;
    std::string detail;  // libpq's words, on one line; empty when reached
    bool Reached() const { return problem == ReachProblem::kNone; }
};

// Connects, logs in and disconnects again within `wait`, looking at `stopRequested` (when
// given) every tenth of a second.
ReachResult ReachPostgres(const PostgresAddress& address, std::chrono::milliseconds wait,
                          const std::function<bool()>& stopRequested);

// libpq's message of several indented lines as one line.
std::string OneLine(const std::string& text);

}  // namespace vk930
