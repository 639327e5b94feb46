// The registry server's first contact, polled.
#include "platform/postgres_reach.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace vk930 {

namespace {

constexpr std::chrono::milliseconds kLookSlice{100};

struct ConnectionCloser {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Connection = std::unique_ptr<PGconn, ConnectionCloser>;

Connection StartConnecting(const PostgresAddress& address) {
    const std::string port = address.port ? std::to_string(*address.port) : std::string();
    std::vector<const char*> keys, values;
    const auto add = [&](const char* key, const std::string& value) {
        if (value.empty()) return;
        keys.push_back(key);
        values.push_back(value.c_str());
    };
    add("host", address.host);
    add("port", port);
    add("user", address.user);
    add("password", address.password);
    add("dbname", address.database);
    const std::string application = "vk930";
    add("application_name", application);
    keys.push_back(nullptr);
    values.push_back(nullptr);
    return Connection(PQconnectStartParams(keys.data(), values.data(), 0));
}

ReachResult Failed(PGconn* conn) {
    ReachResult result;
    result.detail = OneLine(PQerrorMessage(conn));
    if (PQconnectionNeedsPassword(conn)) result.problem = ReachProblem::kPasswordMissing;
    // libpq names no SQLSTATE for a failed login; a password that was sent and a failure in
    // the authentication step is the server refusing the login (user or password; the server
    // does not say which on purpose).
    else if (PQconnectionUsedPassword(conn) &&
             result.detail.find("authentication failed") != std::string::npos)
        result.problem = ReachProblem::kLoginRefused;
    else
        result.problem = ReachProblem::kUnreachable;
    return result;
}

}  // namespace

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\t' || c == '\r') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

ReachResult ReachPostgres(const PostgresAddress& address, std::chrono::milliseconds wait,
                          const std::function<bool()>& stopRequested) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    Connection conn = StartConnecting(address);
    if (!conn) return {ReachProblem::kUnreachable, "libpq could not start a connection"};
    if (PQstatus(conn.get()) == CONNECTION_BAD) return Failed(conn.get());
    // As libpq asks: wait for the socket as the last poll said, then poll again.
    PostgresPollingStatusType polled = PGRES_POLLING_WRITING;
    while (polled != PGRES_POLLING_OK) {
        if (polled == PGRES_POLLING_FAILED) return Failed(conn.get());
        pollfd fd{PQsocket(conn.get()),
                  static_cast<short>(polled == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        bool ready = false;
        while (!ready) {
            if (stopRequested && stopRequested()) return {ReachProblem::kStopped, "stopped"};
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return {ReachProblem::kTimedOut,
                        "no answer within " +
                            std::to_string(
                                std::chrono::duration_cast<std::chrono::seconds>(wait).count()) +
                            " s"};
            const int n = ::poll(&fd, 1, static_cast<int>(std::min(left, kLookSlice).count()));
            ready = n != 0;  // an error is for PQconnectPoll to find and say
        }
        polled = PQconnectPoll(conn.get());
    }
    return {};
}

}  // namespace vk930
