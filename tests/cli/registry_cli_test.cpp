// vk930ctl with the shop's shared registry: --registry and Registry=, registry init|status,
// history of every bench, and a server that cannot be reached.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#include "support/pg_cluster.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class RegistryCli : public PgClusterTest {
  protected:
    // A command at bench `bench`: its own settings file and state folder.
    ProgramRun Run(const std::string& bench, std::vector<std::string> args) {
        setenv("XDG_STATE_HOME", dir_.File(bench + "-state").c_str(), 1);
        args.insert(args.begin(), {"--settings", Settings(bench)});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Settings(const std::string& bench) { return dir_.File(bench + ".ini"); }
    std::string Sim(const std::string& name) { return "sim:" + dir_.File(name); }

    TempDir dir_;
};

TEST_F(RegistryCli, InitStatusAndTheHistoryOfEveryBench) {
    const std::string address = cluster_->Address();
    ProgramRun run = Run("a", {"--registry", address, "registry", "status"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("registry init"), std::string::npos) << run.err;

    run = Run("a", {"--registry", address, "registry", "init"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "registry: " + address + "\nschema version: 4 (created)\n");
    run = Run("a", {"--registry", address, "registry", "init"});
    EXPECT_EQ(run.out, "registry: " + address + "\nschema version: 4 (already set up)\n");

    // Bench a names the registry on its command line, bench b in its settings.
    WriteFile(Settings("b"), "[General]\nRegistry=" + address + "\n");
    ASSERT_EQ(Run("a", {"--registry", address, "--link", Sim("t1.bin"), "info"}).exitCode, 0);
    ASSERT_EQ(Run("b", {"--link", Sim("t2.bin"), "info"}).exitCode, 0);
    run = Run("b", {"history"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto infos = [](const std::string& out) {
        int count = 0;
        for (size_t at = out.find("  info  COM1"); at != std::string::npos;
             at = out.find("  info  COM1", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(infos(run.out), 2) << "the other bench's record is missing:\n" << run.out;
    EXPECT_EQ(infos(Run("a", {"history"}).out), 1) << "a bench's own log holds its own records";

    run = Run("b", {"registry", "status"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("schema version: 4\nnext ID: 10001\nrecords: "), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("records waiting to be sent: 0"), std::string::npos) << run.out;
}

TEST_F(RegistryCli, AServerThatCannotBeReachedKeepsTheRecordsAndSendsThemLater) {
    const std::string address = cluster_->Address();
    ASSERT_EQ(Run("a", {"--registry", address, "registry", "init"}).exitCode, 0);
    std::string why;
    ASSERT_TRUE(cluster_->Stop(why)) << why;
    ProgramRun run = Run("a", {"--registry", address, "--link", Sim("t.bin"), "info"});
    EXPECT_EQ(run.exitCode, 0) << "a command fails for a registry it does not need: " << run.err;
    EXPECT_NE(run.err.find("1 record waits in"), std::string::npos) << run.err;
    // The server's message, over several lines from libpq, is said on one line.
    EXPECT_EQ(run.err.find("\\x0A"), std::string::npos) << run.err;
    EXPECT_NE(ReadFile(dir_.File("a-state/VK930Config/service-log.jsonl")).find("\"info\""),
              std::string::npos);
    run = Run("a", {"--registry", address, "registry", "status"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("check that its database server is running"), std::string::npos)
        << run.err;

    ASSERT_TRUE(cluster_->StartAgain(why)) << why;
    run = Run("a", {"--registry", address, "history"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("  info  COM1"), std::string::npos) << run.out;
    EXPECT_EQ(cluster_->Sql("SELECT count(*) FROM vk930_records WHERE record->>'command' = "
                            "'info'"),
              "1\n");
}

TEST_F(RegistryCli, ARecordTheServerRefusesIsCountedByStatusAndHoldsUpNoOther) {
    const std::string address = cluster_->Address();
    ASSERT_EQ(Run("a", {"--registry", address, "registry", "init"}).exitCode, 0);
    ProgramRun run = Run("a", {"--registry", address, "registry", "status"});
    const std::string waiting = "records waiting to be sent: 0 (";
    const size_t at = run.out.find(waiting);
    ASSERT_NE(at, std::string::npos) << run.out;
    const size_t from = at + waiting.size();
    const std::string outbox = run.out.substr(from, run.out.find(")\n", from) - from);
    // A record whose time the server cannot read, waiting from an earlier run.
    WriteFile(outbox,
              "{\"uuid\":\"5c0a7d7e-0f7e-4d2b-9a57-1b2f0f3c4d01\",\"record\":{\"time\":\"soon\","
              "\"command\":\"info\"}}\n");
    run = Run("a", {"--registry", address, "--link", Sim("t.bin"), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("refused 1 record(s)"), std::string::npos) << run.err;
    EXPECT_EQ(cluster_->Sql("SELECT count(*) FROM vk930_records WHERE record->>'command' = "
                            "'info'"),
              "1\n")
        << "the refused record held up the next one";
    run = Run("a", {"--registry", address, "registry", "status"});
    EXPECT_NE(run.out.find("records waiting to be sent: 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("records the registry refused: 1 ("), std::string::npos) << run.out;
}

TEST_F(RegistryCli, AnAddressThatIsNoneIsAUsageError) {
    ProgramRun run = Run("a", {"--registry", "db1/shop", "registry", "status"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("postgresql://user@host/database"), std::string::npos) << run.err;
    WriteFile(Settings("b"), "[General]\nRegistry=shop-db\n");
    run = Run("b", {"history"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("\"Registry\" in the settings"), std::string::npos) << run.err;
    run = Run("a", {"registry", "init"});
    EXPECT_EQ(run.exitCode, 1) << "init of a bench's own registry";
    EXPECT_NE(run.err.find("--registry"), std::string::npos) << run.err;
}

// The same message the window shows: the cause, the settings file and what to do; a value in
// the settings is no fault of the command line, so --help is not offered for it.
TEST_F(RegistryCli, ARegistryInTheSettingsThatIsNoneIsNamedWithItsFile) {
    WriteFile(Settings("b"), "[General]\nRegistry=shop-db\n");
    const ProgramRun run = Run("b", {"--link", Sim("t.bin"), "info"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot open the ID registry: \"Registry\" in the settings: "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(Settings("b")), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("remove it to use this bench's own registry"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << "nothing ran: " << run.out;
}

// A port on the loopback that takes connections and never says a word, and its registry
// address; -1 when no socket could be made.
int SilentListener(std::string& registry) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener);
        return -1;
    }
    registry = "postgresql://shop@127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/vk930";
    return listener;
}

// A server that takes the connection and never answers: the command waits for it once, not
// once for its status and once more for its own record.
TEST(RegistryTimeOut, ACommandWaitsForAServerThatDoesNotAnswerOnce) {
    std::string registry;
    const int listener = SilentListener(registry);
    ASSERT_GE(listener, 0);
    TempDir dir;
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    const ProgramRun run = RunProgram(VK930CTL_PATH, {"--settings", dir.File("s.ini"), "--registry",
                                                      registry, "registry", "status"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot read the registry: the registry " + registry), std::string::npos)
        << run.err;
    ::fcntl(listener, F_SETFL, O_NONBLOCK);
    int connections = 0;
    for (int peer; (peer = ::accept(listener, nullptr, nullptr)) >= 0; ++connections) ::close(peer);
    ::close(listener);
    EXPECT_EQ(connections, 1);
}

// The first signal ends the wait for a server that takes the connection and never answers.
TEST(RegistryTimeOut, TheFirstSignalEndsTheWaitForAServerThatDoesNotAnswer) {
    std::string registry;
    const int listener = SilentListener(registry);
    ASSERT_GE(listener, 0);
    TempDir dir;
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    bool signalled = false;
    const ProgramRun run =
        RunProgram(VK930CTL_PATH,
                   {"--settings", dir.File("s.ini"), "--registry", registry, "registry", "status"},
                   "", [&](pid_t pid) {
                       // Once the program waits on the server, SIGINT.
                       pollfd waiting{listener, POLLIN, 0};
                       if (::poll(&waiting, 1, 0) != 1) return false;
                       ::kill(pid, SIGINT);
                       signalled = true;
                       return true;
                   });
    ::close(listener);
    ASSERT_TRUE(signalled);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("stopped while waiting for its server"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vk930::test
