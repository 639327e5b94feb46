// The first contact with a registry's server: a server that never answers is one bounded wait,
// a stop ends the wait, and a login the server refused is told apart from a server that
// cannot be reached.
#include "platform/postgres_reach.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/postgres_registry.h"
#include "support/pg_cluster.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using namespace std::chrono_literals;

// A TCP port on the loopback that takes connections and never says a word; `listening` false:
// a port nobody listens on.
class SilentServer {
  public:
    explicit SilentServer(bool listening = true) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        if (listening) {
            ::listen(fd_, 16);
        } else {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SilentServer() {
        if (fd_ >= 0) ::close(fd_);
    }
    PostgresAddress Address() const {
        PostgresAddress address;
        address.host = "127.0.0.1";
        address.port = port_;
        address.user = "shop";
        address.database = "vk930";
        return address;
    }

  private:
    int fd_ = -1;
    int port_ = 0;
};

TEST(PostgresReach, AServerThatNeverAnswersOrIsNotThereEndsTheWait) {
    SilentServer silent;
    ReachResult result = ReachPostgres(silent.Address(), 300ms, {});
    EXPECT_EQ(result.problem, ReachProblem::kTimedOut) << result.detail;
    EXPECT_NE(result.detail.find("no answer"), std::string::npos) << result.detail;

    SilentServer nobody(false);
    result = ReachPostgres(nobody.Address(), 60s, {});
    EXPECT_EQ(result.problem, ReachProblem::kUnreachable) << result.detail;
    EXPECT_FALSE(result.detail.empty());
    EXPECT_EQ(result.detail.find('\n'), std::string::npos) << "one line";
}

// Without the stop the wait would last a minute and end as a time-out.
TEST(PostgresReach, AStopEndsTheWaitForAServerThatNeverAnswers) {
    SilentServer silent;
    int asked = 0;
    const ReachResult result = ReachPostgres(silent.Address(), 60s, [&] { return ++asked > 3; });
    EXPECT_EQ(result.problem, ReachProblem::kStopped) << result.detail;
    EXPECT_EQ(asked, 4);
}

class PasswordTest : public PgClusterTest {
  protected:
    void SetUp() override {
        PgClusterTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // No password may come from the tester's own files or environment.
        setenv("PGPASSFILE", dir_.File("no-pgpass").c_str(), 1);
        unsetenv("PGPASSWORD");
        std::string why;
        ASSERT_TRUE(cluster_->RequirePassword("right", why)) << why;
    }
    PostgresAddress WithPassword(const std::string& password) {
        PostgresAddress address = *ParsePostgresAddress(cluster_->Address());
        address.password = password;
        return address;
    }
    TempDir dir_;
};

TEST_F(PasswordTest, ARefusedLoginAndAMissingPasswordAreToldApartFromAServerNotReached) {
    EXPECT_TRUE(ReachPostgres(WithPassword("right"), 5s, {}).Reached());
    ReachResult result = ReachPostgres(WithPassword("wrong"), 5s, {});
    EXPECT_EQ(result.problem, ReachProblem::kLoginRefused) << result.detail;
    result = ReachPostgres(WithPassword(""), 5s, {});
    EXPECT_EQ(result.problem, ReachProblem::kPasswordMissing) << result.detail;

    // The registry's message names the login, not the server, and leaves the password out.
    PostgresRegistryOptions options;
    options.address = WithPassword("wrong-s3cret");
    options.serviceLogPath = dir_.File("service-log.jsonl");
    options.outboxPath = dir_.File("outbox.jsonl");
    PostgresRegistry registry(options);
    Result<RegistrySummary> summary = registry.Summarize();
    ASSERT_FALSE(summary);
    EXPECT_NE(summary.error().find("refused the login"), std::string::npos) << summary.error();
    EXPECT_NE(summary.error().find("correct the user or password"), std::string::npos);
    EXPECT_EQ(summary.error().find("server is running"), std::string::npos) << summary.error();
    EXPECT_EQ(summary.error().find("s3cret"), std::string::npos) << summary.error();
}

}  // namespace
}  // namespace vk930::test
