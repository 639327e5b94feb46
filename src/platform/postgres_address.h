#pragma once
// The address of a shared registry: postgresql://[user[:password]@][host][:port]/database
// [?host=...&port=...], as libpq writes it. A host that starts with '/' (written %2F in the
// host part, or given as ?host=/run/postgresql) is the folder of the server's local socket.
#include <optional>
#include <string>

#include "core/base/result.h"

namespace vk930 {

struct PostgresAddress {
    std::string user;      // empty: the user this program runs as
    std::string password;  // empty: none, or what ~/.pgpass or PGPASSWORD give
    std::string host;      // empty: the server's default local socket
    std::optional<int> port;
    std::string database;

    // The address as messages show it: the password left out.
    std::string Shown() const;
};

// `text` as a message may show it, whatever it is (an address of any scheme, one that does not
// parse): a password given after "user:" before the '@', or as password=... among the
// parameters, is replaced by ****.
std::string MaskedAddress(const std::string& text);

// Whether `text` names a PostgreSQL registry at all (postgresql:// or postgres://).
bool IsPostgresAddress(const std::string& text);
// The parts of the address; an error that says what is wrong with it.
Result<PostgresAddress> ParsePostgresAddress(const std::string& text);

}  // namespace vk930
