#pragma once
// A throw-away PostgreSQL cluster for the tests of the shared registry: made with initdb in a
// fresh folder, run by a user who is not root (PostgreSQL refuses root) on a local socket in
// that folder only (no TCP), and stopped and removed when the object goes, a failed test
// included.
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vk930::test {

class PgCluster {
  public:
    // A running cluster with the database `database`, or null with `why` set; `missing` tells
    // that the PostgreSQL programs are not installed (the test is then skipped). Tests run it
    // without flushing to disk; `durable` keeps the flushes a real server makes (benchmarks).
    static std::unique_ptr<PgCluster> Start(const std::string& database, std::string& why,
                                            bool& missing, bool durable = false);
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // Stops the server (fast: open connections are cut) and starts it again; false with the
    // server's log in `why` when it did not.
    bool Stop(std::string& why);
    bool StartAgain(std::string& why);
    // The registry address of the database: postgresql://vk930@%2F...%2Fsocket/NAME.
    std::string Address() const;
    // From now on the server asks every login for a password (SCRAM), the user's being
    // `password`; false with the reason when the server did not take it.
    bool RequirePassword(const std::string& password, std::string& why);
    // Runs one SQL text with psql; its output (unaligned, no headers), or "ERROR: ..." text.
    std::string Sql(const std::string& sql) const;

  private:
    PgCluster() = default;
    bool PgCtl(const std::string& action, std::string& why);

    std::string bin_;     // the PostgreSQL programs' folder
    std::string folder_;  // the socket, the data folder and the server's log
    std::string database_;
    bool running_ = false;
    bool durable_ = false;
};

// A test with a running cluster and its database "shop", skipped when PostgreSQL is not
// installed.
class PgClusterTest : public ::testing::Test {
  protected:
    void SetUp() override;
    std::unique_ptr<PgCluster> cluster_;
};

}  // namespace vk930::test
